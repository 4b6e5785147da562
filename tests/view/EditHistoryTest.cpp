#include <QApplication>
#include <QMenu>
#include <QUndoStack>
#include <QUndoView>
#include <QWheelEvent>

#include "CFStatic.h"
#include "DataDefine.h"
#include "EditHistory.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "Processor.h"
#include "Strings.h"
#include "ViewFixture.h"

class EditHistoryTest : public ViewTest {
protected:
    QUndoStack& Stack() { return View().History().Stack(); }
    bool StepsAre(int nCount)
    {
        return QTest::qWaitFor([this, nCount] { return Stack().count() == nCount; }, 2000);
    }
    void Wheel(QWidget* pWidget)
    {
        const QPointF pos(pWidget->width() / 2.0, pWidget->height() / 2.0);
        QWheelEvent wheel(pos, pWidget->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(pWidget, &wheel);
    }
    static QString MuteStep(int nChannel) { return Tr(kTxtStepChannel).arg(nChannel + 1).arg(Tr(kTxtStepMute)); }
};

TEST_F(EditHistoryTest, AGraphDragIsOneStepThatTheKeysUndoAndRedo)
{
    CFilter& band = Data().Output(0).EQ()[9];
    const int nBefore = band.GetGainCode();
    CFStatic* pGraph = View().Graph();
    const QPoint from(band.MarkerRect().CenterX(), band.MarkerRect().CenterY());
    QTest::mouseMove(pGraph, from + QPoint(1, 0));
    QTest::mouseMove(pGraph, from);
    QTest::mousePress(pGraph, Qt::LeftButton, {}, from);
    for (int dy = 10; dy <= 50; dy += 10)
        QTest::mouseMove(pGraph, from - QPoint(0, dy));
    QTest::mouseRelease(pGraph, Qt::LeftButton, {}, from - QPoint(0, 50));
    ASSERT_TRUE(StepsAre(1));
    const int nAfter = band.GetGainCode();
    ASSERT_NE(nAfter, nBefore);
    EXPECT_EQ(Stack().undoText(), Tr(kTxtStepBand).arg(1).arg(10).arg(Tr(kTxtStepGain)));
    QTest::keyClick(pGraph, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(band.GetGainCode(), nBefore);
    QTest::keyClick(pGraph, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(band.GetGainCode(), nAfter);
    QTest::keyClick(pGraph, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(pGraph, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(band.GetGainCode(), nAfter);
    EXPECT_EQ(Stack().count(), 1);
}

TEST_F(EditHistoryTest, WheelStepsOnOneFieldMerge)
{
    auto* pLevel = Ctl<CNumEdit>(8630);
    const int nBefore = Data().Output(0).GetLevel();
    for (int i = 0; i < 3; ++i) {
        Wheel(pLevel);
        ASSERT_TRUE(StepsAre(1));
    }
    ASSERT_EQ(Data().Output(0).GetLevel(), nBefore - 3);
    Stack().undo();
    EXPECT_EQ(Data().Output(0).GetLevel(), nBefore);
}

TEST_F(EditHistoryTest, CtrlZInAFieldWithTypingLeavesTheHistoryAlone)
{
    Click(6052);
    ASSERT_TRUE(StepsAre(1));
    auto* pLevel = Ctl<CNumEdit>(8631);
    pLevel->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pLevel->window()));
    pLevel->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([pLevel] { return pLevel->hasFocus(); }, 1000));
    QTest::keyClicks(pLevel, "5");
    QTest::keyClick(pLevel, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Stack().index(), 1);
    EXPECT_EQ(Data().Output(0).GetMute(), 1);
}

TEST_F(EditHistoryTest, TheGraphMenuNamesTheStepsToUndoAndRedo)
{
    Click(6052);
    ASSERT_TRUE(StepsAre(1));
    QMenu menu;
    View().Graph()->FillContextMenu(menu);
    EXPECT_EQ(menu.actions().at(0)->text(), Tr(kTxtUndoStep).arg(MuteStep(0)));
    menu.actions().at(0)->trigger();
    EXPECT_EQ(Data().Output(0).GetMute(), 0);
    QMenu after;
    View().Graph()->FillContextMenu(after);
    EXPECT_EQ(after.actions().at(1)->text(), Tr(kTxtRedoStep).arg(MuteStep(0)));
}

TEST_F(EditHistoryTest, ClickingAStepInTheHistoryWindowGoesToIt)
{
    for (int k = 0; k < 3; ++k) {
        Click(6052 + k);
        ASSERT_TRUE(StepsAre(k + 1));
    }
    View().OnHistory();
    auto* pList = View().window()->findChild<QUndoView*>("historyView");
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList->model()->index(2, 0).data().toString(), MuteStep(1));
    const QRect row = pList->visualRect(pList->model()->index(1, 0));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(Stack().index(), 1);
    EXPECT_EQ(Data().Output(0).GetMute(), 1);
    EXPECT_EQ(Data().Output(1).GetMute(), 0);
    EXPECT_EQ(Data().Output(2).GetMute(), 0);
}

TEST_F(EditHistoryTest, ConnectingStartsANewHistoryAndARecallIsUndoneWhole)
{
    Click(6052);
    ASSERT_TRUE(StepsAre(1));
    ASSERT_TRUE(ConnectOnline());
    EXPECT_EQ(Stack().count(), 0);
    const std::vector<uint8_t> liveBefore = m_pDevice->LiveImage();
    std::vector<uint8_t> program = m_pDevice->SceneProgram(2);
    PutWord(program.data() + kOffOutput + 4 * kOutBlockSize + 250, 12);
    m_pDevice->SetSceneProgram(2, program);
    ASSERT_TRUE(View().Processor().RecallProgram(2));
    View().AfterDeviceCommand();
    ASSERT_TRUE(StepsAre(1));
    EXPECT_EQ(Stack().undoText(), Tr(kTxtStepRecall).arg(2));
    ASSERT_NE(m_pDevice->LiveImage(), liveBefore);
    QTest::keyClick(View().Graph(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([this, &liveBefore] { return m_pDevice->LiveImage() == liveBefore; }, 5000));
    EXPECT_TRUE(Drain());
}

TEST_F(EditHistoryTest, AnUndoOnTheFormSendsOnlyTheGroupThatChanged)
{
    ASSERT_TRUE(ConnectOnline());
    Click(6053);
    ASSERT_TRUE(StepsAre(1));
    ASSERT_TRUE(Drain());
    const std::vector<RawFrame> edit = Sent();
    m_pDevice->ClearReceivedFrames();
    QTest::keyClick(View().Graph(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(Drain());
    const std::vector<RawFrame> undo = Sent();
    ASSERT_EQ(undo.size(), 1u);
    EXPECT_EQ(undo[0][kFoKind], kKindOutput);
    EXPECT_EQ(undo[0][kFoChannel], 1);
    EXPECT_EQ(undo[0][kFoGroup], edit.back()[kFoGroup]);
    EXPECT_EQ(Data().Output(1).GetMute(), 0);
}

TEST_F(EditHistoryTest, ALostLinkDropsTheStepsTheProcessorDidNotConfirm)
{
    ASSERT_TRUE(ConnectOnline());
    Click(6052);
    ASSERT_TRUE(StepsAre(1));
    ASSERT_TRUE(Drain());
    const int nConfirmedMute = Data().Output(0).GetMute();
    VirtualFaults faults;
    faults.nDelayMs = 400;  // the next answers are still on their way when the cable goes
    m_pDevice->SetFaults(faults);
    Click(6053);
    ASSERT_TRUE(StepsAre(2));
    m_pDevice->Vanish();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View().Session().IsConnected(); }, 5000));
    ASSERT_TRUE(StepsAre(1));
    EXPECT_EQ(Stack().index(), 1);
    EXPECT_EQ(Data().Output(0).GetMute(), nConfirmedMute);
    EXPECT_EQ(Data().Output(1).GetMute(), 0);
}
