// zr470ctl set CH eqmode geq does what the editor's mode button does: the
// processor ends up with the same bytes.
#include <QProcess>

#include <atomic>
#include <thread>

#include "BoxAnswerer.h"
#include "EmulatorServer.h"
#include "KTV_Data.h"
#include "OutputDlg.h"
#include "ViewFixture.h"
#include "TestPaths.h"

TEST_F(ViewTest, GraphicModeFromTheCommandLineEqualsTheModeButtonByteForByte)
{
    ASSERT_TRUE(ConnectOnline());
    BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
    Click(COutputDlg::kIdMode);  // parametric
    CKTV_OutData& out = Data().Output(0);
    ASSERT_EQ(out.GetEqMode(), 0);
    out.EQ()[4].SetFrequency(1234, true);
    out.EQ()[4].SetGainCode(GainToCode(6.0));
    out.EQ()[4].SetBandwidthCode(60);
    ASSERT_TRUE(Drain());
    const std::vector<uint8_t> before = m_pDevice->LiveImage();

    // The same processor state behind the command line.
    CVirtualProcessor other;
    other.SetLiveImage(before);
    CEmulatorServer server(other);
    std::string strError;
    ASSERT_TRUE(server.Listen("127.0.0.1", 0, &strError)) << strError;
    std::atomic<bool> bStop{false};
    std::thread serving([&] { server.Serve(bStop); });
    QProcess ctl;
    ctl.start(Zr470CtlPath(), {"--device", QString("tcp:127.0.0.1:%1").arg(server.Port()), "set", "1", "eqmode", "geq"});
    const bool bFinished = ctl.waitForFinished(20000);
    bStop = true;
    serving.join();
    ASSERT_TRUE(bFinished);
    EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();

    Click(COutputDlg::kIdMode);  // back to graphic
    ASSERT_EQ(answerer.m_asked.size(), 2u);
    ASSERT_TRUE(Drain());
    EXPECT_NE(m_pDevice->LiveImage(), before);
    EXPECT_EQ(other.LiveImage(), m_pDevice->LiveImage());
}
