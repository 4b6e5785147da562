// The main form on a laptop's screen, maximised on a large monitor, and
// where it was when it closed.
#include <QScrollArea>
#include <QScrollBar>

#include "CFStatic.h"
#include "EnTabCtrl.h"
#include "GlobalData.h"
#include "OutputDlg.h"
#include "SkinFactory.h"
#include "SxGroupBox.h"
#include "ViewFixture.h"
#include "WindowPlacement.h"
#include "XPButton.h"

class ScreensTest : public ViewTest {
protected:
    void TearDown() override
    {
        SetAvailableArea(QRect());
        ViewTest::TearDown();
    }

    // The editor started again on a screen of this available area.
    void StartOn(const QRect& rcArea)
    {
        SetAvailableArea(rcArea);
        StartApp();
    }

    CMainFrame& Frame() { return *m_pApp->MainFrame(); }

    // Every visible control of the form and of the page, in window
    // coordinates; group boxes and the page's frame hold others.
    std::vector<std::pair<QWidget*, QRect>> Controls()
    {
        std::vector<std::pair<QWidget*, QRect>> controls;
        for (QWidget* pParent : {static_cast<QWidget*>(&View()), static_cast<QWidget*>(View().Page())}) {
            for (QWidget* pChild : pParent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (pChild->isWindow() || !pChild->isVisible() || qobject_cast<CSxGroupBox*>(pChild) ||
                    qobject_cast<CEnTabCtrl*>(pChild))
                    continue;
                controls.emplace_back(pChild, QRect(pChild->mapTo(&Frame(), QPoint(0, 0)), pChild->size()));
            }
        }
        return controls;
    }

    // Band 10 of output 1 dragged up where the graph shows it: that band's
    // gain rises, no other band's changes.
    void ExpectDragChangesBand10Only()
    {
        CFStatic* pGraph = View().Graph();
        const BandRect& rc = Data().Output(0).EQ()[9].MarkerRect();
        const QPoint from(rc.CenterX(), rc.CenterY());
        std::vector<int> gains;
        for (int i = 0; i < COutputDlg::kBands; ++i)
            gains.push_back(Data().Output(0).EQ()[i].GetGainCode());
        QTest::mouseMove(pGraph, from + QPoint(1, 0));
        QTest::mouseMove(pGraph, from);
        QTest::mousePress(pGraph, Qt::LeftButton, {}, from);
        QTest::mouseMove(pGraph, from - QPoint(0, 40));
        QTest::mouseRelease(pGraph, Qt::LeftButton, {}, from - QPoint(0, 40));
        for (int i = 0; i < COutputDlg::kBands; ++i) {
            if (i == 9)
                EXPECT_GT(Data().Output(0).EQ()[i].GetGainCode(), gains[9]);
            else
                EXPECT_EQ(Data().Output(0).EQ()[i].GetGainCode(), gains[i]) << "band " << i + 1;
        }
    }

    void ExpectControlsInside()
    {
        const QRect rcWindow = Frame().rect();
        const auto controls = Controls();
        EXPECT_GT(controls.size(), 250u);
        for (const auto& [pWidget, rc] : controls)
            EXPECT_TRUE(rcWindow.contains(rc)) << qPrintable(pWidget->objectName()) << " at " << rc.x() << ","
                                               << rc.y() << " " << rc.width() << "x" << rc.height();
    }
};

TEST_F(ScreensTest, OnALaptopTheFormIsScaledToTheScreenAndWorks)
{
    StartOn(QRect(0, 0, 1280, 688));
    EXPECT_EQ(Frame().frameGeometry(), QRect(0, 0, 1280, 688)) << "the window takes the screen";
    EXPECT_LT(View().Fit().dScale, 1.0);
    EXPECT_FALSE(Frame().ScrollArea()->verticalScrollBar()->isVisible());
    ExpectControlsInside();
    auto* pMute = Ctl<CXPButton>(6052);
    EXPECT_LT(pMute->width(), 52) << "the button is drawn at the scaled size";
    EXPECT_EQ(SkinImage(pMute->CurrentImage(), View().Fit().dScale).size(), pMute->size());
    ExpectDragChangesBand10Only();
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    Click(6052);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_pDevice->LiveImage()[kOffOutput + 248], 1) << "the processor muted output 1";
}

TEST_F(ScreensTest, BelowALegibleSizeTheFormScrolls)
{
    StartOn(QRect(0, 0, 800, 560));
    EXPECT_DOUBLE_EQ(View().Fit().dScale, CFormFit::kMinScale);
    EXPECT_LE(Frame().width(), 800);
    EXPECT_GT(View().height(), Frame().height());
    EXPECT_TRUE(Frame().ScrollArea()->verticalScrollBar()->isVisible());
}

TEST_F(ScreensTest, MaximisedOnALargeMonitorTheGraphAndThePageTakeTheRoom)
{
    Frame().showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Frame().width() > 1800; }, 2000));
    QTest::qWait(20);
    CFStatic* pGraph = View().Graph();
    EXPECT_GT(pGraph->width(), 850);
    EXPECT_GT(pGraph->height(), 258);
    ExpectControlsInside();
    const auto controls = Controls();
    for (size_t a = 0; a < controls.size(); ++a)
        for (size_t b = a + 1; b < controls.size(); ++b)
            EXPECT_FALSE(controls[a].second.intersects(controls[b].second))
                << qPrintable(controls[a].first->objectName()) << " overlaps "
                << qPrintable(controls[b].first->objectName());
    const QRect rcPage(View().Page()->mapTo(&Frame(), QPoint(0, 0)), View().Page()->size());
    EXPECT_LE(rcPage.left(), 10);
    EXPECT_GE(rcPage.right(), Frame().width() - 10) << "the page spans the window";
    ExpectDragChangesBand10Only();
}

TEST_F(ScreensTest, TheWindowOpensAtTheSizeItClosedAt)
{
    Frame().resize(1500, 900);
    Frame().move(100, 60);
    Frame().close();
    StartApp();
    EXPECT_EQ(Frame().size(), QSize(1500, 900));
    Frame().close();
    StartOn(QRect(0, 0, 1280, 688));
    EXPECT_TRUE(QRect(0, 0, 1280, 688).contains(Frame().frameGeometry())) << "kept within a smaller screen";
    Frame().close();
    QSettings("ZR_470.exe", "DspMcu").setValue("Window/Geometry", QByteArray("not a geometry"));
    StartOn(QRect());
    EXPECT_EQ(Frame().size(), QSize(1260, 725)) << "a bad remembered geometry is ignored";
}

TEST_F(ScreensTest, ADialogOpensInsideTheAvailableAreaOfTheFormsScreen)
{
    StartOn(QRect(0, 0, 1280, 688));
    QDialog dialog(&Frame());
    dialog.resize(300, 200);
    dialog.move(1200, 650);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.screen(), Frame().screen());
    EXPECT_TRUE(QRect(0, 0, 1280, 688).contains(dialog.frameGeometry()));
}

TEST(WindowPlacement, ARectangleIsMovedAndShrunkIntoTheArea)
{
    const QRect rcArea(0, 32, 1280, 688);
    EXPECT_EQ(KeptWithin(QRect(10, 40, 100, 100), rcArea), QRect(10, 40, 100, 100));
    EXPECT_EQ(KeptWithin(QRect(1250, 0, 100, 100), rcArea), QRect(1180, 32, 100, 100));
    EXPECT_EQ(KeptWithin(QRect(-50, 700, 1500, 100), rcArea), QRect(0, 620, 1280, 100));
    EXPECT_EQ(KeptWithin(QRect(5, 5, 100, 100), QRect()), QRect(5, 5, 100, 100));
}
