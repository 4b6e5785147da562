// Takes the screenshots of the README: the editor on the virtual processor,
// connected, with a few bands and a crossover set (docs/main-form.png), then
// with CH1 + CH2 and CH3 + CH4 linked (docs/linked.png), then the program
// manager with a few programs named (docs/programs.png). Run it under
// xvfb-run from the repository root: build/tools/screenshots/zr470_screenshots docs
// (add --chinese for the Chinese texts).
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ControlName.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "MainFrm.h"
#include "ProgramDlg.h"
#include "QM7100.h"
#include "QM7100View.h"
#include "VirtualProcessor.h"
#include "VirtualStartup.h"
#include "VirtualTransport.h"

namespace {

struct BandSetting {
    int nBand;
    int nFreq;
    double dGainDb;
    int nBandwidthCode;
};

void TuneOutput(CKTV_OutData& out, std::initializer_list<BandSetting> bands)
{
    out.SetEqMode(0);
    for (const BandSetting& band : bands) {
        CFilter& filter = out.EQ()[band.nBand];
        filter.SetFrequency(band.nFreq, true);
        filter.SetBandwidthCode(band.nBandwidthCode);
        filter.SetGainCode(static_cast<int>(std::lround(band.dGainDb * 10)) + 200);
    }
}

bool Settle(CQM7100View& view, int nMs)
{
    const bool bSent = QTest::qWaitFor([&] { return !view.Session().HasPendingWork(); }, 5000);
    QTest::qWait(nMs);
    return bSent;
}

bool Save(QWidget* pWindow, const QString& strPath)
{
    const bool bSaved = pWindow->grab().save(strPath);
    std::printf("%s %s\n", bSaved ? "wrote" : "could not write", qPrintable(strPath));
    return bSaved;
}

// Answers the next link dialog with the radio of the given id and OK.
void AnswerLinkDialog(int nRadioId)
{
    QTimer::singleShot(100, [nRadioId] {
        auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!pDialog)
            return;
        if (auto* pRadio = pDialog->findChild<QAbstractButton*>(ControlName(nRadioId)))
            pRadio->click();
        if (auto* pOk = pDialog->findChild<QAbstractButton*>("ctl1"))
            pOk->click();
    });
}

void ClickControl(QWidget* pWindow, int nId)
{
    if (auto* pWidget = pWindow->findChild<QWidget*>(ControlName(nId)))
        QTest::mouseClick(pWidget, Qt::LeftButton, {}, pWidget->rect().center());
}

// Scene programs 1 … n named on the processor, read by the next connect.
void NamePrograms(std::initializer_list<const char*> names)
{
    int nProgram = 1;
    for (const char* szName : names) {
        std::vector<uint8_t> image(kImageSize);
        FillStartupImage(image.data());
        std::memset(image.data(), 0, kNameSize);
        std::memcpy(image.data(), szName, std::strlen(szName));
        CVirtualTransport::Shared()->SetSceneProgram(nProgram++, image);
    }
}

// Opens the program manager on program 3, saves its picture, closes it.
bool SaveProgramManager(CQM7100View& view, const QString& strPath)
{
    bool bSaved = false;
    QTimer::singleShot(300, [&] {
        CProgramDlg* pDialog = view.ProgramDialog();
        if (!pDialog)
            return;
        if (auto* pList = pDialog->findChild<QWidget*>(ControlName(CProgramDlg::kIdList))) {
            for (int i = 0; i < 2; ++i)
                QTest::keyClick(pList, Qt::Key_Down);
        }
        QTest::qWait(100);
        bSaved = Save(pDialog, strPath);
        pDialog->close();
    });
    view.OnProgram();
    return bSaved;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString strOut = QDir(argc > 1 ? argv[1] : "docs").absolutePath();
    QDir().mkpath(strOut);
    QTemporaryDir work;
    QDir::setCurrent(work.path());

    CAppOptions options;
    options.strDevice = "virtual";
    options.bSplash = false;
    options.bChinese = argc > 2 && std::strcmp(argv[2], "--chinese") == 0;
    NamePrograms({"Lounge", "Karaoke A", "Hall", "Bar", "Party night"});
    CQM7100App editor;
    editor.InitInstance(options);
    CQM7100View& view = *editor.View();
    QWidget* pWindow = editor.MainFrame();
    if (!QTest::qWaitForWindowExposed(pWindow)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    view.OnConnect();
    if (!QTest::qWaitFor([] { return g_bOnline.load() != 0; }, 10000)) {
        std::fprintf(stderr, "the virtual processor did not answer\n");
        return 1;
    }
    CKTV_Data& data = view.Data();
    TuneOutput(data.Output(0), {{3, 45, 4.5, 40}, {9, 180, -3.0, 60}, {16, 900, -6.5, 25}, {24, 4200, 3.0, 80},
                                {29, 14000, 5.0, 120}});
    TuneOutput(data.Output(2), {{5, 80, 6.0, 60}, {20, 2500, -4.0, 50}});
    data.Output(0).EQ().HighPass().SetFrequency(60, true);
    data.Output(0).EQ().LowPass().SetFrequency(16000, true);
    data.Output(0).EQ().LowPass().SetSlope(4, true);
    data.Output(2).EQ().LowPass().SetFrequency(180, true);
    data.Output(2).EQ().LowPass().SetSlope(6, true);
    view.SelectChannel(2);
    view.SelectChannel(0);
    if (!Settle(view, 400) || !Save(pWindow, strOut + "/main-form.png"))
        return 1;

    AnswerLinkDialog(2259);  // CH1 applied to CH2
    ClickControl(pWindow, 2247);
    AnswerLinkDialog(2258);  // CH4 applied to CH3
    ClickControl(pWindow, 2248);
    if (!Settle(view, 400) || !Save(pWindow, strOut + "/linked.png"))
        return 1;
    if (!SaveProgramManager(view, strOut + "/programs.png"))
        return 1;
    view.OnConnect();
    return 0;
}
