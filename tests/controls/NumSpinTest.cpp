// The spin beside a number field: stepping, the throttled notifications
// while an arrow is held, frequency steps along the response axis, and the
// message for a position outside the range.
#include <QApplication>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "DataDefine.h"
#include "GlobalData.h"
#include "NumEdit.h"
#include "NumSpin.h"

namespace {

constexpr int kFieldId = 1301;
constexpr int kSpinId = 1302;

class NumSpinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bChinese = 0;
        auto* pLayout = new QHBoxLayout(&m_window);
        m_pEdit = new CNumEdit(kFieldId, &m_window);
        m_pSpin = new CNumSpin(kSpinId, &m_window);
        m_pOther = new QLineEdit(&m_window);
        pLayout->addWidget(m_pEdit);
        pLayout->addWidget(m_pSpin);
        pLayout->addWidget(m_pOther);
        m_pSpin->SetBuddy(m_pEdit);
        m_pSpin->SetMessageHook([this](QWidget*, const QString& strText) { m_messages << strText; });
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_pSpinNotify = std::make_unique<QSignalSpy>(m_pSpin, &CNumSpin::Notify);
        m_pEditNotify = std::make_unique<QSignalSpy>(m_pEdit, &CNumEdit::Notify);
    }

    void TearDown() override { g_bChinese = 0; }

    void Configure(int nKind, int nMin, int nMax, double dStep = 0.0, double dOffset = 0.0)
    {
        m_pEdit->SetStep(dStep);
        m_pEdit->SetOffset(dOffset);
        m_pEdit->SetKind(nKind);
        m_pSpin->SetRange(nMin, nMax);
    }

    QPoint UpperArrow() const { return {m_pSpin->width() / 2, m_pSpin->height() / 4}; }
    QPoint LowerArrow() const { return {m_pSpin->width() / 2, m_pSpin->height() * 3 / 4}; }

    void KeyInField(Qt::Key key)
    {
        m_pEdit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_pEdit, key);
    }

    void Wheel(QWidget* pTarget, int nAngle)
    {
        const QPointF pos(pTarget->width() / 2.0, pTarget->height() / 2.0);
        QWheelEvent wheel(pos, pTarget->mapToGlobal(pos), QPoint(), QPoint(0, nAngle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(pTarget, &wheel);
    }

    QWidget m_window;
    CNumEdit* m_pEdit = nullptr;
    CNumSpin* m_pSpin = nullptr;
    QLineEdit* m_pOther = nullptr;
    QStringList m_messages;
    std::unique_ptr<QSignalSpy> m_pSpinNotify;
    std::unique_ptr<QSignalSpy> m_pEditNotify;
};

int AxisHz(int nIndex)
{
    return static_cast<int>(g_dFreqAxis[nIndex]);
}

}  // namespace

TEST_F(NumSpinTest, RangeReachesTheField)
{
    m_pEdit->SetPos(0);
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    EXPECT_EQ(m_pEdit->GetMax(), kGainCodeMax);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("-20.0"));
    EXPECT_EQ(m_pSpin->objectName(), QStringLiteral("ctl1302"));
    EXPECT_EQ(m_pSpin->width(), CNumSpin::kWidth);
}

TEST_F(NumSpinTest, ClickOnAnArrowStepsOnceAndNotifiesOnce)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pSpin->SetPos(200);
    QTest::mouseClick(m_pSpin, Qt::LeftButton, Qt::NoModifier, UpperArrow());
    EXPECT_EQ(m_pSpin->GetPos(), 201);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("0.1"));
    ASSERT_EQ(m_pSpinNotify->count(), 1);
    EXPECT_EQ(m_pSpinNotify->at(0).at(0).toInt(), kSpinId);

    QTest::mouseClick(m_pSpin, Qt::LeftButton, Qt::NoModifier, LowerArrow());
    QTest::mouseClick(m_pSpin, Qt::LeftButton, Qt::NoModifier, LowerArrow());
    EXPECT_EQ(m_pSpin->GetPos(), 199);
    EXPECT_EQ(m_pSpinNotify->count(), 3);
    EXPECT_EQ(m_pEditNotify->count(), 0);
}

TEST_F(NumSpinTest, HeldArrowNotifiesEvery400MsAndOnceAtRelease)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pSpin->SetPos(100);
    QTest::mousePress(m_pSpin, Qt::LeftButton, Qt::NoModifier, UpperArrow());
    EXPECT_TRUE(m_pSpin->IsHeld());
    QTest::qWait(2000);
    const int nWhileHeld = m_pSpinNotify->count();
    EXPECT_GE(nWhileHeld, 4);
    EXPECT_LE(nWhileHeld, 6);
    // The field follows every step, far more often than the dialog hears.
    EXPECT_GT(m_pEdit->GetValue(), 100 + nWhileHeld);
    QTest::mouseRelease(m_pSpin, Qt::LeftButton, Qt::NoModifier, UpperArrow());
    EXPECT_EQ(m_pSpinNotify->count(), nWhileHeld + 1);
    EXPECT_FALSE(m_pSpin->IsHeld());

    // Nothing more once released.
    const int nValue = m_pEdit->GetValue();
    QTest::qWait(600);
    EXPECT_EQ(m_pSpinNotify->count(), nWhileHeld + 1);
    EXPECT_EQ(m_pEdit->GetValue(), nValue);
}

TEST_F(NumSpinTest, HeldArrowAtTheEndOfTheRangeStaysQuiet)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pSpin->SetPos(0);
    QTest::mousePress(m_pSpin, Qt::LeftButton, Qt::NoModifier, LowerArrow());
    QTest::qWait(900);
    QTest::mouseRelease(m_pSpin, Qt::LeftButton, Qt::NoModifier, LowerArrow());
    EXPECT_EQ(m_pSpinNotify->count(), 0);
    EXPECT_EQ(m_pSpin->GetPos(), 0);
}

TEST_F(NumSpinTest, FrequencyStepsAlongTheResponseAxis)
{
    Configure(CNumKinds::kFrequency, kMinFreq, kMaxFreq);
    m_pSpin->SetPos(1000);
    // One hertz up lands nearest the axis point at 1000 Hz; the step goes to
    // the point after it.
    KeyInField(Qt::Key_Up);
    const int nUp = m_pSpin->GetPos();
    EXPECT_EQ(nUp, AxisHz(NearestAxisIndex(1001) + 1));
    EXPECT_GE(nUp, 1029);
    EXPECT_LE(nUp, 1030);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("%1Hz").arg(nUp));
    EXPECT_EQ(m_pSpinNotify->count(), 1);

    KeyInField(Qt::Key_Down);
    EXPECT_EQ(m_pSpin->GetPos(), 1000);
    KeyInField(Qt::Key_Down);
    EXPECT_EQ(m_pSpin->GetPos(), AxisHz(NearestAxisIndex(999) - 1));
    EXPECT_LT(m_pSpin->GetPos(), 1000);
    EXPECT_EQ(m_pSpinNotify->count(), 3);
}

TEST_F(NumSpinTest, FrequencyStepsStopAtTheRange)
{
    Configure(CNumKinds::kInteger, kMinFreq, kMaxFreq);
    m_pSpin->SetPos(kMaxFreq);
    KeyInField(Qt::Key_Up);
    EXPECT_EQ(m_pSpin->GetPos(), kMaxFreq);
    m_pSpin->SetPos(kMinFreq);
    KeyInField(Qt::Key_Down);
    EXPECT_EQ(m_pSpin->GetPos(), kMinFreq);
    KeyInField(Qt::Key_Up);
    EXPECT_EQ(m_pSpin->GetPos(), AxisHz(NearestAxisIndex(kMinFreq + 1) + 1));
}

TEST_F(NumSpinTest, TypedTextCountsBeforeTheStep)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pEdit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_pEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(m_pEdit, QStringLiteral("5"));
    EXPECT_TRUE(m_pSpin->IsModified());
    QTest::keyClick(m_pEdit, Qt::Key_Up);
    EXPECT_EQ(m_pSpin->GetPos(), 251);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("5.1"));
    EXPECT_FALSE(m_pSpin->IsModified());
}

TEST_F(NumSpinTest, WheelStepsOverFieldAndSpin)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pSpin->SetPos(200);
    Wheel(m_pEdit, 120);
    EXPECT_EQ(m_pSpin->GetPos(), 201);
    Wheel(m_pSpin, -240);
    EXPECT_EQ(m_pSpin->GetPos(), 199);
    // Half notches add up to a step.
    Wheel(m_pSpin, 60);
    EXPECT_EQ(m_pSpin->GetPos(), 199);
    Wheel(m_pSpin, 60);
    EXPECT_EQ(m_pSpin->GetPos(), 200);
    EXPECT_EQ(m_pSpinNotify->count(), 4);
}

TEST_F(NumSpinTest, PositionOutsideTheRangeIsReportedWithTheFieldId)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pSpin->SetPos(123);
    m_pSpin->SetPos(kGainCodeMax + 1);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_messages.at(0), QStringLiteral("1301ID:Set Pos Error!"));
    EXPECT_EQ(m_pSpin->GetPos(), 123);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("-7.7"));

    g_bChinese = 1;
    m_pSpin->SetPos(-1);
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages.at(1), QStringLiteral("1301ID:设定Pos错误!"));
    EXPECT_EQ(m_pSpin->GetPos(), 123);
    EXPECT_EQ(m_pSpinNotify->count(), 0);
}

TEST_F(NumSpinTest, FieldCommitAndSpinStepNotifyWithTheirOwnIds)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pEdit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_pEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(m_pEdit, QStringLiteral("1.5"));
    m_pOther->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(m_pEditNotify->count(), 1);
    EXPECT_EQ(m_pEditNotify->at(0).at(0).toInt(), kFieldId);
    EXPECT_EQ(m_pSpin->GetPos(), 215);

    QTest::mouseClick(m_pSpin, Qt::LeftButton, Qt::NoModifier, UpperArrow());
    ASSERT_EQ(m_pSpinNotify->count(), 1);
    EXPECT_EQ(m_pSpinNotify->at(0).at(0).toInt(), kSpinId);
    EXPECT_EQ(m_pSpin->GetPos(), 216);
    // The arrows leave the focus where it was.
    EXPECT_TRUE(m_pOther->hasFocus());
}
