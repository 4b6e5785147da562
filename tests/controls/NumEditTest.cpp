// The number field: how each display kind shows an index and reads typed
// text back, and the focus-loss commit as a user meets it.
#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "DataDefine.h"
#include "GlobalData.h"
#include "NumEdit.h"

namespace {

constexpr int kFieldId = 1203;

CNumKinds Kinds(int nKind, int nMin, int nMax, double dStep = 0.0, double dOffset = 0.0)
{
    CNumKinds kinds;
    kinds.nKind = nKind;
    kinds.nMin = nMin;
    kinds.nMax = nMax;
    kinds.dStep = dStep;
    kinds.dOffset = dOffset;
    return kinds;
}

// The fields as the editor's pages configure them.
std::vector<CNumKinds> EditorKinds()
{
    return {
        Kinds(CNumKinds::kDelayMs, 0, kDelayMax),
        Kinds(CNumKinds::kDelayMsWide, 0, kDelayMax),
        Kinds(CNumKinds::kDistanceCm, 0, kDelayMax),
        Kinds(CNumKinds::kDistanceInch, 0, kDelayMax),
        Kinds(CNumKinds::kInteger, kMinFreq, kMaxFreq),
        Kinds(CNumKinds::kAttack, 0, kAttackMax),
        Kinds(CNumKinds::kFraction, 0, kBandwidthCodeMax, 0.01),
        Kinds(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0),
        Kinds(CNumKinds::kQ, 0, kBandwidthCodeMax),
        Kinds(CNumKinds::kPercent, 0, 100, 1.0),
        Kinds(CNumKinds::kGateDbu, 0, 100, 1.0, 120.0),
        Kinds(CNumKinds::kThresholdDbu, 0, kThresholdMax, 0.1, 30.0),
        Kinds(CNumKinds::kGainDbOffAtMin, 0, kLevelMax, 1.0, 60.0),
        Kinds(CNumKinds::kFrequencyLimited, kMinFreq, 1000),
        Kinds(CNumKinds::kGainDbOffAtMax, 0, 80, 1.0, 80.0),
    };
}

// A field and a second widget to take the focus from it, in a shown window.
class NumEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bChinese = 0;
        auto* pLayout = new QVBoxLayout(&m_window);
        m_pEdit = new CNumEdit(kFieldId, &m_window);
        m_pOther = new QLineEdit(&m_window);
        pLayout->addWidget(m_pEdit);
        pLayout->addWidget(m_pOther);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_pNotify = std::make_unique<QSignalSpy>(m_pEdit, &CNumEdit::Notify);
    }

    void TearDown() override { g_bChinese = 0; }

    void Configure(int nKind, int nMin, int nMax, double dStep = 0.0, double dOffset = 0.0)
    {
        m_pEdit->SetStep(dStep);
        m_pEdit->SetOffset(dOffset);
        m_pEdit->SetKind(nKind);
        m_pEdit->SetRange(nMin, nMax);
    }

    // Replaces the field's text as a user does: focus, select all, type.
    void Type(const QString& strText)
    {
        m_pEdit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_pEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_pEdit, Qt::Key_Delete);
        // Chinese arrives through the input method, as on a real keyboard.
        QInputMethodEvent commit;
        commit.setCommitString(strText);
        QApplication::sendEvent(m_pEdit, &commit);
    }

    void Leave() { m_pOther->setFocus(Qt::TabFocusReason); }

    void TypeAndLeave(const QString& strText)
    {
        Type(strText);
        Leave();
    }

    QWidget m_window;
    CNumEdit* m_pEdit = nullptr;
    QLineEdit* m_pOther = nullptr;
    std::unique_ptr<QSignalSpy> m_pNotify;
};

}  // namespace

// ---- The kinds' rules without a widget ------------------------------------------

TEST(NumKindsTest, EveryShownTextReadsBackToItsIndex)
{
    // The owner reads the committed text back through GetPos right after the
    // field's notification, so a shown value must never drift to another one.
    for (const CNumKinds& kinds : EditorKinds()) {
        for (int i = kinds.nMin; i <= kinds.nMax; ++i) {
            const QString strText = kinds.Format(i);
            ASSERT_EQ(kinds.ReadBack(strText), std::optional<int>(i))
                << "kind " << kinds.nKind << " text " << strText.toStdString();
        }
    }
}

TEST(NumKindsTest, FocusLossOfEveryShownTextKeepsItsIndex)
{
    // Truncating kinds must not drop an exactly typed value to the index below.
    for (const CNumKinds& kinds : EditorKinds()) {
        if (kinds.nKind == CNumKinds::kDelayMs || kinds.nKind == CNumKinds::kDelayMsWide)
            continue;  // shown with three decimals of a 1/48 ms step, read by truncation
        for (int i = kinds.nMin; i <= kinds.nMax; ++i) {
            const QString strText = kinds.Format(i);
            ASSERT_EQ(kinds.ReadOnFocusLoss(strText, kinds.nMin), i)
                << "kind " << kinds.nKind << " text " << strText.toStdString();
        }
    }
}

TEST(NumKindsTest, TextIsReadByItsLeadingNumber)
{
    EXPECT_DOUBLE_EQ(CNumKinds::LeadingNumber(QStringLiteral("-12.5dBu")), -12.5);
    EXPECT_DOUBLE_EQ(CNumKinds::LeadingNumber(QStringLiteral("  .5ms")), 0.5);
    EXPECT_DOUBLE_EQ(CNumKinds::LeadingNumber(QStringLiteral("+7")), 7.0);
    EXPECT_DOUBLE_EQ(CNumKinds::LeadingNumber(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(CNumKinds::LeadingNumber(QStringLiteral("6,5")), 6.0);
    EXPECT_DOUBLE_EQ(CNumKinds::LeadingNumber(QStringLiteral("nan")), 0.0);
    EXPECT_GT(CNumKinds::LeadingNumber(QStringLiteral("1e999")), 1e300);
}

TEST(NumKindsTest, ValuesOutsideTheReadBackLimitsLeaveTheIndex)
{
    const CNumKinds delay = Kinds(CNumKinds::kDelayMs, 0, kDelayMax);
    EXPECT_FALSE(delay.ReadBack(QStringLiteral("25")).has_value());
    EXPECT_FALSE(delay.ReadBack(QStringLiteral("-1")).has_value());
    EXPECT_EQ(delay.ReadBack(QStringLiteral("20.0")), std::optional<int>(kDelayMax));
    const CNumKinds attack = Kinds(CNumKinds::kAttack, 0, kAttackMax);
    EXPECT_FALSE(attack.ReadBack(QStringLiteral("0.95")).has_value());
    const CNumKinds frequency = Kinds(CNumKinds::kFrequency, kMinFreq, kMaxFreq);
    EXPECT_FALSE(frequency.ReadBack(QStringLiteral("500Hz")).has_value());
    const CNumKinds q = Kinds(CNumKinds::kQ, 0, kBandwidthCodeMax);
    EXPECT_FALSE(q.ReadBack(QStringLiteral("30")).has_value());
}

TEST(NumKindsTest, DistanceFollowsTheSpeedOfSoundAt25Degrees)
{
    // 20 ms at 346 m/s is 6.92 m.
    EXPECT_EQ(Kinds(CNumKinds::kDistanceCm, 0, kDelayMax).Format(kDelayMax), QStringLiteral("692.00CM"));
    EXPECT_EQ(Kinds(CNumKinds::kDistanceInch, 0, kDelayMax).Format(kDelayMax), QStringLiteral("272.37INCH"));
    EXPECT_EQ(Kinds(CNumKinds::kDistanceCm, 0, kDelayMax).ReadOnFocusLoss(QStringLiteral("5000"), 0), kDelayMax);
    // 346 cm is 10 ms, 480 samples.
    EXPECT_EQ(Kinds(CNumKinds::kDistanceCm, 0, kDelayMax).ReadOnFocusLoss(QStringLiteral("346"), 0), 480);
}

// ---- The field ------------------------------------------------------------------

TEST_F(NumEditTest, GateShowsOffAtZeroInTheCurrentLanguage)
{
    Configure(CNumKinds::kGateDbu, 0, 100, 1.0, 120.0);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("OFF"));
    g_bChinese = 1;
    m_pEdit->Redisplay();
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("关闭"));
    m_pEdit->SetPos(30);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("-90dBu"));
}

TEST_F(NumEditTest, GateTakesOffTextsAndLimitsLowValues)
{
    Configure(CNumKinds::kGateDbu, 0, 100, 1.0, 120.0);
    for (const QString& strOff : {QStringLiteral("OFF"), QStringLiteral("关闭"), QStringLiteral("-125")}) {
        m_pEdit->SetPos(50);
        m_pNotify->clear();
        TypeAndLeave(strOff);
        EXPECT_EQ(m_pEdit->GetValue(), 0) << strOff.toStdString();
        EXPECT_EQ(m_pEdit->text(), QStringLiteral("OFF"));
        ASSERT_EQ(m_pNotify->count(), 1);
        EXPECT_EQ(m_pNotify->at(0).at(0).toInt(), kFieldId);
        EXPECT_EQ(m_pEdit->GetPos(), 0);
    }
    // "off" is not the off text: it reads as 0 dBu, beyond the top of −20 dBu.
    TypeAndLeave(QStringLiteral("off"));
    EXPECT_EQ(m_pEdit->GetValue(), 100);
}

TEST_F(NumEditTest, ThresholdIsLimitedToItsTop)
{
    Configure(CNumKinds::kThresholdDbu, 0, kThresholdMax, 0.1, 30.0);
    TypeAndLeave(QStringLiteral("6.5"));
    EXPECT_EQ(m_pEdit->GetValue(), 360);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("6.0dBu"));
    TypeAndLeave(QStringLiteral("-29.3"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("-29.3dBu"));
    EXPECT_EQ(m_pEdit->GetPos(), 7);
    TypeAndLeave(QStringLiteral("OFF"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("6.0dBu"));
}

TEST_F(NumEditTest, AttackReadsTenthsAndWholeMilliseconds)
{
    Configure(CNumKinds::kAttack, 0, kAttackMax);
    TypeAndLeave(QStringLiteral("0.6"));
    EXPECT_EQ(m_pEdit->GetValue(), 3);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("0.6ms"));

    m_pEdit->SetPos(20);
    TypeAndLeave(QStringLiteral("0.95"));
    EXPECT_EQ(m_pEdit->GetValue(), 20);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("14ms"));

    TypeAndLeave(QStringLiteral("150"));
    EXPECT_EQ(m_pEdit->GetValue(), kAttackMax);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("100ms"));

    TypeAndLeave(QStringLiteral("0.1"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("0.3ms"));
}

TEST_F(NumEditTest, DelayShowsTwentyMillisecondsAtItsTop)
{
    Configure(CNumKinds::kDelayMs, 0, kDelayMax);
    m_pEdit->SetPos(kDelayMax);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("20.000MS"));
    TypeAndLeave(QStringLiteral("-3"));
    EXPECT_EQ(m_pEdit->GetValue(), 0);
    TypeAndLeave(QStringLiteral("10"));
    EXPECT_EQ(m_pEdit->GetValue(), 480);
    TypeAndLeave(QStringLiteral("20.5"));
    EXPECT_EQ(m_pEdit->GetValue(), kDelayMax);

    m_pEdit->SetKind(CNumKinds::kDelayMsWide);
    TypeAndLeave(QStringLiteral("45"));
    EXPECT_EQ(m_pEdit->GetValue(), kDelayMax);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("20.000MS"));
}

TEST_F(NumEditTest, QShowsTableEntriesAndTakesTheNearest)
{
    Configure(CNumKinds::kQ, 0, kBandwidthCodeMax);
    m_pEdit->SetPos(15);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("7.208"));
    m_pEdit->SetPos(0);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("28.85"));

    TypeAndLeave(QStringLiteral("100"));
    EXPECT_EQ(m_pEdit->GetPos(), 0);
    TypeAndLeave(QStringLiteral("0.1"));
    EXPECT_EQ(m_pEdit->GetPos(), kBandwidthCodeMax);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("0.404"));
    // Just above entry 15, far from entry 14.
    TypeAndLeave(QStringLiteral("7.21"));
    EXPECT_EQ(m_pEdit->GetPos(), 15);
}

TEST_F(NumEditTest, IntegerKindAlwaysLimitsButNotifiesOnlyWhenTyped)
{
    Configure(CNumKinds::kInteger, kMinFreq, kMaxFreq);
    TypeAndLeave(QStringLiteral("30000"));
    EXPECT_EQ(m_pEdit->GetValue(), kMaxFreq);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("20000"));
    EXPECT_EQ(m_pNotify->count(), 1);

    m_pEdit->GetPos();
    m_pNotify->clear();
    // Text the program put there is read on focus loss too, silently.
    m_pEdit->setText(QStringLiteral("5"));
    m_pEdit->setFocus(Qt::TabFocusReason);
    Leave();
    EXPECT_EQ(m_pEdit->GetValue(), kMinFreq);
    EXPECT_EQ(m_pNotify->count(), 0);

    m_pEdit->SetPos(440);
    TypeAndLeave(QStringLiteral("OFF"));
    EXPECT_EQ(m_pEdit->GetValue(), 440);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("440"));
}

TEST_F(NumEditTest, UntypedFieldDoesNotCommit)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pEdit->SetPos(150);
    m_pEdit->setFocus(Qt::TabFocusReason);
    Leave();
    EXPECT_EQ(m_pNotify->count(), 0);
    EXPECT_FALSE(m_pEdit->IsModified());
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("-5.0"));
}

TEST_F(NumEditTest, ModifiedFlagOutlivesTheCommitUntilGetPos)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    TypeAndLeave(QStringLiteral("3.4"));
    EXPECT_TRUE(m_pEdit->IsModified());
    EXPECT_EQ(m_pEdit->GetPos(), 234);
    EXPECT_FALSE(m_pEdit->IsModified());

    // GetPos reads typed text without focus loss, and without notifying.
    Type(QStringLiteral("-12.5"));
    EXPECT_EQ(m_pEdit->GetPos(), 75);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("-12.5"));
    Type(QStringLiteral("40"));
    EXPECT_EQ(m_pEdit->GetPos(), 75);
    EXPECT_EQ(m_pNotify->count(), 1);
}

TEST_F(NumEditTest, OffAtMinimumReadsBackAsOff)
{
    Configure(CNumKinds::kGainDbOffAtMin, 0, kLevelMax, 1.0, 60.0);
    g_bChinese = 1;
    m_pEdit->SetPos(40);
    TypeAndLeave(QStringLiteral("关闭"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("OFF"));
    EXPECT_EQ(m_pEdit->GetPos(), 0);
}

TEST_F(NumEditTest, OffAtMaximumFollowsTheLanguage)
{
    Configure(CNumKinds::kGainDbOffAtMax, 0, 80, 1.0, 80.0);
    TypeAndLeave(QStringLiteral("OFF"));
    EXPECT_EQ(m_pEdit->GetValue(), 80);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("OFF"));
    g_bChinese = 1;
    m_pEdit->Redisplay();
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("关闭"));
}

TEST_F(NumEditTest, PercentAppendsTheSuffix)
{
    m_pEdit->SetStep(1.0);
    m_pEdit->SetKind(CNumKinds::kPercent, QStringLiteral(" Wet"));
    m_pEdit->SetRange(0, 100);
    TypeAndLeave(QStringLiteral("250"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("100% Wet"));
    EXPECT_EQ(m_pEdit->GetPos(), 100);
}

TEST_F(NumEditTest, OutOfRangeSetPosIsIgnored)
{
    Configure(CNumKinds::kGain, 0, kGainCodeMax, 0.1, 20.0);
    m_pEdit->SetPos(200);
    m_pEdit->SetPos(401);
    m_pEdit->SetPos(-1);
    EXPECT_EQ(m_pEdit->GetValue(), 200);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("0.0"));
}

TEST_F(NumEditTest, ColourSwitchPaintsTheBackground)
{
    const QColor normal = m_pEdit->palette().color(QPalette::Base);
    m_pEdit->EnableColor(true);
    EXPECT_EQ(m_pEdit->palette().color(QPalette::Base), QColor(137, 173, 209));
    EXPECT_EQ(m_pEdit->grab().toImage().pixelColor(m_pEdit->width() / 2, m_pEdit->height() - 4), QColor(137, 173, 209));
    m_pEdit->EnableColor(false);
    EXPECT_EQ(m_pEdit->palette().color(QPalette::Base), normal);
}

TEST(NumEditDialogTest, EnterAndEscapeStayInTheField)
{
    g_bChinese = 0;
    QDialog dialog;
    auto* pLayout = new QVBoxLayout(&dialog);
    auto* pEdit = new CNumEdit(kFieldId, &dialog);
    auto* pOk = new QPushButton(QStringLiteral("OK"), &dialog);
    pOk->setDefault(true);
    pLayout->addWidget(pEdit);
    pLayout->addWidget(pOk);
    QObject::connect(pOk, &QPushButton::clicked, &dialog, &QDialog::accept);
    pEdit->SetStep(1.0);
    pEdit->SetKind(CNumKinds::kPercent);
    pEdit->SetRange(0, 100);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy notify(pEdit, &CNumEdit::Notify);
    QSignalSpy returnPressed(pEdit, &QLineEdit::returnPressed);
    QSignalSpy finished(&dialog, &QDialog::finished);

    pEdit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pEdit, QStringLiteral("42"));
    QTest::keyClick(pEdit, Qt::Key_Return);
    QTest::keyClick(pEdit, Qt::Key_Escape);

    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(returnPressed.count(), 1);
    EXPECT_EQ(notify.count(), 0);
    EXPECT_EQ(pEdit->GetValue(), 0);
    EXPECT_EQ(pEdit->objectName(), QStringLiteral("ctl1203"));
}
