#include <QApplication>
#include <QFile>
#include <QWheelEvent>
#include <QComboBox>
#include <QMessageBox>
#include <QTimer>

#include "BoxAnswerer.h"
#include "CFStatic.h"
#include "DelayTable.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "ParamAccess.h"
#include "Processor.h"
#include "PresetFile.h"
#include "SkinFader.h"
#include "TransparentStatic.h"
#include "ViewFixture.h"
#include "XPButton.h"

class MainFormTest : public ViewTest {};

TEST_F(MainFormTest, HighPassAboveLowPassStopsAtTheLowPass)
{
    TypeAndEnter(5510, "1000");
    EXPECT_EQ(Data().Output(0).EQ().LowPass().GetFrequency(), 1000);
    TypeAndEnter(5500, "5000");
    EXPECT_EQ(Data().Output(0).EQ().HighPass().GetFrequency(), 1000);
    EXPECT_EQ(Ctl<CNumEdit>(5500)->text(), "1000Hz");
    // and the low-pass cannot go below the high-pass either
    TypeAndEnter(5510, "200");
    EXPECT_EQ(Data().Output(0).EQ().LowPass().GetFrequency(), 1000);
    EXPECT_EQ(Ctl<CNumEdit>(5510)->text(), "1000Hz");
}

TEST_F(MainFormTest, CrossoverTypeAndSlopeApplyToTheSelectedChannel)
{
    Click(8902);
    auto* pSlope = Ctl<QComboBox>(5513);
    ASSERT_EQ(pSlope->count(), 8);
    pSlope->setCurrentIndex(6);
    emit pSlope->activated(6);
    EXPECT_EQ(Data().Output(2).EQ().LowPass().GetSlope(), 6);
    EXPECT_NE(Data().Output(0).EQ().LowPass().GetSlope(), 6);
    Click(8900);
    EXPECT_EQ(pSlope->currentIndex(), Data().Output(0).EQ().LowPass().GetSlope()) << "the section follows the channel";
}

TEST_F(MainFormTest, LinkedLevelFollows)
{
    State().m_nLinkGroup[1] = 0;
    TypeAndEnter(8631, "-18");
    EXPECT_EQ(Data().Output(1).GetLevel(), 42);
    EXPECT_EQ(Data().Output(0).GetLevel(), 42);
    EXPECT_EQ(Ctl<CNumEdit>(8630)->text(), "-18dB");
    EXPECT_EQ(Ctl<CSkinFader>(8650)->GetPosInverted(), 42);
    EXPECT_NE(Data().Output(2).GetLevel(), 42);
}

// Another front end in the same program (the parameter calls) edits the
// processor: the form is told as a subscriber and shows it.
TEST_F(MainFormTest, AChangeMadeOutsideTheFormIsShownOnIt)
{
    WriteParam(View().Processor(), {ParamKind::Mute, 4, 0, "mute"}, 1);
    WriteParam(View().Processor(), {ParamKind::Level, 3, 0, "level"}, 30);
    WriteParam(View().Processor(), {ParamKind::Volume, 0, 0, "volume"}, 40);
    EXPECT_TRUE(Ctl<CXPButton>(6055)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(6054)->IsPressed());
    EXPECT_EQ(Ctl<CNumEdit>(8632)->text(), "-30dB");
    EXPECT_EQ(Ctl<CSkinFader>(8652)->GetPosInverted(), 30);
    EXPECT_EQ(Ctl<CSkinFader>(2227)->GetPosInverted(), 40);
}

TEST_F(MainFormTest, LevelFaderMovesTheSpinAndTheRecord)
{
    TypeAndEnter(8633, "-30");
    auto* pFader = Ctl<CSkinFader>(8653);
    ASSERT_EQ(pFader->GetPosInverted(), 30);
    pFader->setFocus();
    QTest::keyClick(pFader, Qt::Key_Up);  // up on an inverted fader raises the level
    EXPECT_TRUE(QTest::qWaitFor([this] { return Data().Output(3).GetLevel() == 31; }, 2000));
    EXPECT_EQ(Ctl<CNumEdit>(8633)->text(), "-29dB");
}

// One key press or wheel notch is one dB; index 0 is "OFF".
TEST_F(MainFormTest, LevelAndVolumeFieldsStepInDecibels)
{
    auto* pLevel = Ctl<CNumEdit>(8630);
    ASSERT_EQ(pLevel->text(), "0dB");
    pLevel->setFocus();
    QTest::keyClick(pLevel, Qt::Key_Down);
    EXPECT_EQ(Data().Output(0).GetLevel(), 59);
    EXPECT_EQ(pLevel->text(), "-1dB");
    const QPointF pos(pLevel->width() / 2.0, pLevel->height() / 2.0);
    QWheelEvent wheel(pos, pLevel->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(pLevel, &wheel);
    EXPECT_EQ(Data().Output(0).GetLevel(), 58);
    TypeAndEnter(8630, "-60");
    EXPECT_EQ(pLevel->text(), "OFF");
    EXPECT_EQ(Data().Output(0).GetLevel(), 0);

    TypeAndEnter(2225, "10");
    EXPECT_EQ(Data().Music().GetVolume(), 70);
    EXPECT_EQ(Ctl<CNumEdit>(2225)->text(), "10dB");
    QTest::keyClick(Ctl(2225), Qt::Key_Down);
    EXPECT_EQ(Data().Music().GetVolume(), 69);
}

// Files keep what the user set, not the frequency last sent on the way there.
TEST_F(MainFormTest, OfflineHighPassChangeIsSavedAsSet)
{
    TypeAndEnter(5500, "200");
    const QString strPath = m_dir.filePath("scene.ZR4C");
    ASSERT_TRUE(SaveSceneFile(Data(), strPath.toStdString()).bOk);
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int nOffset = 1 + static_cast<int>(kSceneFileTag.size()) + kOffOutput + 8 * 32;
    ASSERT_GT(bytes.size(), nOffset + 1);
    EXPECT_EQ(GetWord(reinterpret_cast<const uint8_t*>(bytes.constData()) + nOffset), 200);
}

TEST_F(MainFormTest, LineOfTheSelectedChannelDoesNothing)
{
    auto* pLine = Ctl<CXPButton>(2100 + 3);
    ASSERT_TRUE(pLine->IsPressed());
    Click(2103);
    EXPECT_TRUE(pLine->IsPressed());
    EXPECT_TRUE(Data().Output(0).IsCurveVisible());
    Click(2104);
    EXPECT_FALSE(Ctl<CXPButton>(2104)->IsPressed());
    EXPECT_FALSE(Data().Output(1).IsCurveVisible());
}

TEST_F(MainFormTest, MuteAndPolarityToggleTheRecord)
{
    Click(6054);
    EXPECT_EQ(Data().Output(2).GetMute(), 1);
    EXPECT_TRUE(Ctl<CXPButton>(6054)->IsPressed());
    Click(6054);
    EXPECT_EQ(Data().Output(2).GetMute(), 0);
    State().m_nLinkGroup[5] = 4;
    Click(1948);
    EXPECT_EQ(Data().Output(4).GetPolarity(), 1);
    EXPECT_EQ(Data().Output(5).GetPolarity(), 1) << "polarity is shared in the link group";
    EXPECT_TRUE(Ctl<CXPButton>(1949)->IsPressed());
}

TEST_F(MainFormTest, SelectingAChannelMovesTheButtonsAndTheGraph)
{
    Click(6705);
    EXPECT_EQ(State().m_nCurOutput.load(), 2);
    EXPECT_EQ(View().Graph()->CurrentChannel(), 2);
    EXPECT_TRUE(Ctl<CXPButton>(8902)->IsPressed());
    EXPECT_TRUE(Ctl<CXPButton>(6705)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(8900)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(6703)->IsPressed());
}

TEST_F(MainFormTest, DelaysShowInTheThreeUnits)
{
    SetPositionDelay(State(), GetCurrentPosition(State()), 0, 960);
    View().ShowDelays();
    EXPECT_EQ(Ctl<CTransparentStatic>(8960)->text(), "20.000ms");
    g_nDelayUnit = kDelayUnitCm;
    View().ShowDelays();
    EXPECT_EQ(Ctl<CTransparentStatic>(8960)->text(), "692.00cm");
    g_nDelayUnit = kDelayUnitInch;
    View().ShowDelays();
    EXPECT_EQ(Ctl<CTransparentStatic>(8960)->text(), "272.37INCH");
    g_nDelayUnit = kDelayUnitMs;
}

TEST_F(MainFormTest, PositionButtonsSelectTheListeningPosition)
{
    SetPositionDelay(State(), 2, 1, 480);
    Click(2068);
    EXPECT_EQ(GetCurrentPosition(State()), 2);
    EXPECT_TRUE(Ctl<CXPButton>(2068)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(2066)->IsPressed());
    EXPECT_EQ(Ctl<CTransparentStatic>(2072)->text(), "R&&Front") << "shown with one ampersand";
    EXPECT_EQ(Ctl<CTransparentStatic>(8961)->text(), "10.000ms");
}

TEST_F(MainFormTest, ResetEqAsksAndResetsTheLinkGroup)
{
    State().m_nLinkGroup[1] = 0;
    Data().Output(0).EQ()[4].SetGainCode(260);
    Data().Output(1).EQ()[4].SetGainCode(260);
    BoxAnswerer answers({QMessageBox::Cancel, QMessageBox::Ok});
    Click(2228);
    EXPECT_EQ(Data().Output(0).EQ()[4].GetGainCode(), 260) << "Cancel changes nothing";
    Click(2228);
    ASSERT_EQ(answers.m_asked.size(), 2u);
    EXPECT_EQ(answers.m_asked[0], "Whether the reset EQ?");
    EXPECT_EQ(Data().Output(0).EQ()[4].GetGainCode(), 200);
    EXPECT_EQ(Data().Output(1).EQ()[4].GetGainCode(), 200);
    EXPECT_EQ(Data().Output(0).EQ()[4].GetFrequency(), 50);
}

TEST_F(MainFormTest, PairButtonUnlinksALinkedPair)
{
    State().m_nLinkGroup[1] = 0;
    auto* pPair = Ctl<CXPButton>(2247);
    pPair->SetPressed(true);
    Click(2247);
    EXPECT_EQ(State().m_nLinkGroup[0], 0);
    EXPECT_EQ(State().m_nLinkGroup[1], 1);
    EXPECT_FALSE(pPair->IsPressed());
}

TEST_F(MainFormTest, EscInAFormFieldCommitsItLikeEnter)
{
    TypeAndPress(8632, "-48", Qt::Key_Escape);
    EXPECT_EQ(Data().Output(2).GetLevel(), 12);
    EXPECT_EQ(QApplication::focusWidget(), &View());
}

TEST_F(MainFormTest, KeysOnTheFormAndThePage)
{
    // Enter in a band's gain field goes down the column to its fader.
    TypeAndEnter(5004, "2.5");
    EXPECT_EQ(Data().Output(0).EQ()[4].GetGainCode(), 225);
    EXPECT_EQ(QApplication::focusWidget(), Ctl<QWidget>(5104));
    // Enter in a form field commits it and leaves the focus with the form.
    TypeAndEnter(8632, "-48");
    EXPECT_EQ(Data().Output(2).GetLevel(), 12);
    EXPECT_EQ(QApplication::focusWidget(), &View());
    // Tab from the low-pass slope box goes on into the equalizer page.
    auto* pSlope = Ctl<QComboBox>(5513);
    pSlope->setFocus();
    QTest::keyClick(pSlope, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(Ctl<QWidget>(136)->isAncestorOf(QApplication::focusWidget()));
}
