// The Venue window on the running editor, against virtual processors served
// over TCP: live status, a room going offline, a push with its results, the
// difference table, and a double-click that connects the form.
#include <QDir>
#include <QProgressBar>
#include <QTableWidget>

#include "BoxAnswerer.h"
#include "ConnectionPanel.h"
#include "PresetFile.h"
#include "VenueDiffDlg.h"
#include "VenueDlg.h"
#include "VenueFixture.h"
#include "ViewFixture.h"

class VenueDlgTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        m_pRooms = std::make_unique<CEmulatedVenue>(QDir::current().filePath("venue").toStdString(), 3);
        ASSERT_TRUE(m_pRooms->Started());
        ASSERT_TRUE(View().OpenVenue(QString::fromStdString(m_pRooms->VenueFile())));
        m_pVenue = View().VenueWindow();
        ASSERT_NE(m_pVenue, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pVenue));
        m_pVenue->SetRefreshInterval(200);
    }
    void TearDown() override
    {
        m_pRooms.reset();
        ViewTest::TearDown();
    }
    QString Cell(int nRow, int nColumn) { return m_pVenue->Table()->item(nRow, nColumn)->text(); }
    bool WaitForCell(int nRow, int nColumn, const QString& strStart)
    {
        return QTest::qWaitFor([&] { return Cell(nRow, nColumn).startsWith(strStart); }, 15000);
    }
    void Choose(std::initializer_list<int> rows)
    {
        m_pVenue->Table()->clearSelection();
        for (int nRow : rows)
            m_pVenue->Table()->selectionModel()->select(m_pVenue->Table()->model()->index(nRow, 0),
                                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    bool WaitIdle()
    {
        return QTest::qWaitFor([&] { return !m_pVenue->IsBusy(); }, 30000);
    }

    std::unique_ptr<CEmulatedVenue> m_pRooms;
    CVenueDlg* m_pVenue = nullptr;
};

TEST_F(VenueDlgTest, ListsTheRoomsLiveAndShowsOneGoingOffline)
{
    ASSERT_EQ(m_pVenue->Table()->rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Cell(i, CVenueDlg::kColRoom), QString("Room %1").arg(i + 1));
        EXPECT_TRUE(WaitForCell(i, CVenueDlg::kColStatus, "online")) << Cell(i, CVenueDlg::kColStatus).toStdString();
    }
    EXPECT_FALSE(Cell(0, CVenueDlg::kColIdentification).isEmpty());

    m_pRooms->Room(2).Stop();
    EXPECT_TRUE(WaitForCell(1, CVenueDlg::kColStatus, "offline: "));
    EXPECT_TRUE(Cell(0, CVenueDlg::kColStatus).startsWith("online"));
}

TEST_F(VenueDlgTest, PushesToTheChosenRoomsAndShowsEachResult)
{
    // A scene that differs from the rooms' own: output 1 muted.
    CKTV_Data scene;
    scene.Output(0).SetMute(1);
    const QString strScene = QDir::current().filePath("quiet.ZR4C");
    const std::vector<uint8_t> bytes = SceneFileBytes(scene);
    QFile file(strScene);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    file.close();
    Prompts().m_askFile = [&](const FileDialogRequest&) { return strScene; };
    ASSERT_TRUE(WaitIdle());
    m_pRooms->Room(3).Stop();

    Choose({0, 2});
    BoxAnswerer answerer({QMessageBox::Yes});
    m_pVenue->Push();
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(answerer.m_asked.size(), 1u);
    EXPECT_EQ(Cell(0, CVenueDlg::kColResult), "verified");
    EXPECT_TRUE(Cell(2, CVenueDlg::kColResult).startsWith("failed: ")) << Cell(2, CVenueDlg::kColResult).toStdString();
    EXPECT_TRUE(Cell(1, CVenueDlg::kColResult).isEmpty());
    EXPECT_EQ(qobject_cast<QProgressBar*>(m_pVenue->Table()->cellWidget(0, CVenueDlg::kColProgress))->value(), 100);

    // The pushed room now differs from the untouched one in output 1's mute.
    Choose({0, 1});
    m_pVenue->Compare();
    ASSERT_TRUE(WaitIdle());
    ASSERT_NE(m_pVenue->Difference(), nullptr);
    QTableWidget* pRows = m_pVenue->Difference()->Table();
    ASSERT_GE(pRows->rowCount(), 1);
    bool bMuteRow = false;
    for (int i = 0; i < pRows->rowCount(); ++i)
        bMuteRow |= pRows->item(i, 1)->text() == "CH1" && pRows->item(i, 0)->text().contains("Mute", Qt::CaseInsensitive);
    EXPECT_TRUE(bMuteRow);
}

TEST_F(VenueDlgTest, ADoubleClickConnectsTheFormToThatRoom)
{
    ASSERT_TRUE(WaitIdle());
    QTableWidget* pTable = m_pVenue->Table();
    const QRect cell = pTable->visualItemRect(pTable->item(1, CVenueDlg::kColRoom));
    // An item view takes a double-click only on the item the first press chose.
    QTest::mouseClick(pTable->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(pTable->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return View().IsConnected(); }, 10000))
        << View().Connection().Device().toStdString() << " " << (m_messages.empty() ? "" : m_messages.back());
    EXPECT_EQ(View().Connection().Device().toStdString(), m_pRooms->Room(2).Device());
    EXPECT_TRUE(WaitForCell(1, CVenueDlg::kColStatus, "online (main form)"));
}

TEST_F(VenueDlgTest, ARefusedVenueFileIsToldWithItsLine)
{
    QFile bad(QDir::current().filePath("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("{\"rooms\": [\n {\"name\": \"A\"}\n]}");
    bad.close();
    m_messages.clear();
    EXPECT_FALSE(View().OpenVenue(bad.fileName()));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("line 2"), std::string::npos) << m_messages[0];
    EXPECT_EQ(View().VenueWindow(), m_pVenue);  // the open window stays
}
