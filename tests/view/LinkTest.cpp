// Linking outputs from the form: the two dialogs, what a link copies, the
// blocks written while connected, and edits that then reach linked outputs.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "CFStatic.h"
#include "ControlName.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "SkinFader.h"
#include "ViewFixture.h"
#include "XPButton.h"

class LinkTest : public ViewTest {
protected:
    // Picks the radio with the given id in the next link dialog, then OK
    // (or Cancel).
    static void AnswerLinkDialog(int nRadioId, bool bOk)
    {
        QTimer::singleShot(50, [nRadioId, bOk] {
            auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!pDialog)
                return;
            if (auto* pRadio = pDialog->findChild<QAbstractButton*>(ControlName(nRadioId)))
                pRadio->click();
            if (auto* pButton = pDialog->findChild<QAbstractButton*>(bOk ? "ctl1" : "ctl2"))
                pButton->click();
        });
    }

    int BlockWrites(int nChannel) const
    {
        int n = 0;
        for (const RawFrame& f : Sent())
            n += (f[kFoCommand] == kCmdWrite && f[kFoKind] == kKindOutput && f[kFoChannel] == nChannel &&
                  f.size() > 300) ? 1 : 0;
        return n;
    }
};

TEST_F(LinkTest, PairLinkCopiesTheChosenOutputButKeepsNameAndMute)
{
    CKTV_Data& data = Data();
    data.Output(3).EQ().SetGraphic(false);
    data.Output(3).SetEqMode(0);
    data.Output(3).EQ()[5].SetGainCode(260);
    data.Output(3).SetLevel(30);
    data.Output(3).SetPolarity(1);
    data.Output(3).SetThreshold(250);
    data.Output(2).SetMute(1);
    const std::string strName = data.Output(2).GetName();

    AnswerLinkDialog(2258, true);  // "CH4 be applied? "
    Click(2248);
    EXPECT_EQ(State().m_nLinkGroup[2], 3);
    EXPECT_EQ(State().m_nLinkGroup[3], 3);
    EXPECT_EQ(data.Output(2).EQ()[5].GetGainCode(), 260);
    EXPECT_EQ(data.Output(2).GetLevel(), 30);
    EXPECT_EQ(data.Output(2).GetPolarity(), 1);
    EXPECT_EQ(data.Output(2).GetThreshold(), 250);
    EXPECT_EQ(data.Output(2).GetEqMode(), 0);
    EXPECT_EQ(data.Output(2).GetName(), strName);
    EXPECT_EQ(data.Output(2).GetMute(), 1);
    EXPECT_TRUE(Ctl<CXPButton>(2248)->IsPressed());
    EXPECT_TRUE(Ctl<CXPButton>(1946)->IsPressed()) << "polarity button follows the copy";
    EXPECT_EQ(Ctl<CSkinFader>(8652)->GetPosInverted(), 30);
    EXPECT_EQ(State().m_nLinkGroup[0], 0) << "other outputs stay alone";
}

TEST_F(LinkTest, CancelInEitherDialogChangesNothing)
{
    Data().Output(1).EQ()[2].SetGainCode(150);
    AnswerLinkDialog(2258, false);
    Click(2247);
    EXPECT_EQ(State().m_nLinkGroup[0], 0);
    EXPECT_EQ(State().m_nLinkGroup[1], 1);
    EXPECT_FALSE(Ctl<CXPButton>(2247)->IsPressed());
    EXPECT_NE(Data().Output(0).EQ()[2].GetGainCode(), 150);

    AnswerLinkDialog(2252, false);
    Click(2250);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(State().m_nLinkGroup[i], i);
    EXPECT_FALSE(Ctl<CXPButton>(2250)->IsPressed());
    EXPECT_NE(Data().Output(0).EQ()[2].GetGainCode(), 150);
}

TEST_F(LinkTest, LinkAllFromCh5WritesAllSixBlocksWhileConnected)
{
    ASSERT_TRUE(ConnectOnline());
    Data().Output(4).SetLevel(25);
    ASSERT_TRUE(Drain());
    m_pDevice->ClearReceivedFrames();
    AnswerLinkDialog(2255, true);  // "CH5 be applied?"
    Click(2250);
    ASSERT_TRUE(Drain());
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(State().m_nLinkGroup[k], 4);
        EXPECT_EQ(Data().Output(k).GetLevel(), 25) << k;
        EXPECT_EQ(BlockWrites(k), 1) << "output " << k;
        EXPECT_TRUE(Ctl<CXPButton>(6703 + k)->IsPressed());
    }
    for (int nId : {2247, 2248, 2249, 2250})
        EXPECT_TRUE(Ctl<CXPButton>(nId)->IsPressed());
    // and pressing it again dissolves every link
    Click(2250);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(State().m_nLinkGroup[k], k);
    EXPECT_FALSE(Ctl<CXPButton>(2250)->IsPressed());
}

TEST_F(LinkTest, BandEditOnALinkedOutputReachesItsPartnerOnly)
{
    AnswerLinkDialog(2259, true);  // "CH1 be applied?"
    Click(2247);
    ASSERT_EQ(State().m_nLinkGroup[1], 0);
    Click(8901);
    TypeAndEnter(5006, "4.5");
    EXPECT_EQ(Data().Output(1).EQ()[6].GetGainCode(), 245);
    EXPECT_EQ(Data().Output(0).EQ()[6].GetGainCode(), 245);
    for (int k = 2; k < 6; ++k)
        EXPECT_NE(Data().Output(k).EQ()[6].GetGainCode(), 245) << k;
}

// Edits of linked outputs travel as group writes of both, flagged as linked.
class LinkedEditTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        ASSERT_TRUE(ConnectOnline());
        AnswerLinkDialog(2259, true);
        Click(2247);
        ASSERT_TRUE(Drain());
        m_pDevice->ClearReceivedFrames();
    }
    // Group writes of nGroup for output k: count, and whether each carried the link flag.
    std::pair<int, bool> GroupWrites(int k, int nGroup) const
    {
        int n = 0;
        bool bAllLinked = true;
        for (const RawFrame& f : Sent()) {
            if (f[kFoCommand] == kCmdWrite && f[kFoKind] == kKindOutput && f[kFoChannel] == k &&
                f[kFoGroup] == nGroup && f.size() < 40) {
                ++n;
                bAllLinked = bAllLinked && f[kFoLink] != 0;
            }
        }
        return {n, bAllLinked};
    }
    // The mode is shared in the link group; the page follows at selection.
    void UseParametricMode()
    {
        Data().Output(0).SetEqMode(0);
        View().SelectChannel(1);
        View().SelectChannel(0);
        ASSERT_TRUE(Drain());
        m_pDevice->ClearReceivedFrames();
    }
    void ExpectBothWritten(int nGroup)
    {
        for (int k : {0, 1}) {
            const auto [n, bLinked] = GroupWrites(k, nGroup);
            EXPECT_GE(n, 1) << "output " << k << " group " << nGroup;
            EXPECT_TRUE(bLinked) << "output " << k;
        }
        EXPECT_EQ(GroupWrites(2, nGroup).first, 0);
    }
};

TEST_F(LinkedEditTest, FaderDragWritesTheBandOfBothOutputs)
{
    auto* pFader = Ctl<CSkinFader>(5102);
    const QPoint centre(pFader->width() / 2, pFader->ThumbCentre());
    QTest::mousePress(pFader, Qt::LeftButton, {}, centre);
    QTest::mouseMove(pFader, centre - QPoint(0, 20));
    QTest::mouseRelease(pFader, Qt::LeftButton, {}, centre - QPoint(0, 20));
    ASSERT_TRUE(Drain());
    EXPECT_GT(Data().Output(0).EQ()[2].GetGainCode(), 200);
    EXPECT_EQ(Data().Output(1).EQ()[2].GetGainCode(), Data().Output(0).EQ()[2].GetGainCode());
    ExpectBothWritten(2);
}

TEST_F(LinkedEditTest, QChangeWritesTheBandOfBothOutputs)
{
    UseParametricMode();
    auto* pSpin = Ctl<CNumSpin>(4543);
    ASSERT_TRUE(pSpin->isEnabled());
    const int nBefore = Data().Output(0).EQ()[3].GetBandwidthCode();
    QTest::mouseClick(pSpin, Qt::LeftButton, {}, QPoint(pSpin->width() / 2, 2));  // the upper arrow
    ASSERT_TRUE(Drain());
    EXPECT_EQ(Data().Output(0).EQ()[3].GetBandwidthCode(), nBefore + 1);
    EXPECT_EQ(Data().Output(1).EQ()[3].GetBandwidthCode(), nBefore + 1);
    ExpectBothWritten(3);
}

TEST_F(LinkedEditTest, GraphDragWritesTheBandOfBothOutputs)
{
    UseParametricMode();
    CFStatic* pGraph = View().Graph();
    const BandRect& rc = Data().Output(0).EQ()[9].MarkerRect();
    const QPoint from(rc.CenterX(), rc.CenterY());
    const QPoint to = from + QPoint(40, -50);
    QTest::mouseMove(pGraph, from + QPoint(1, 0));
    QTest::mouseMove(pGraph, from);
    QTest::mousePress(pGraph, Qt::LeftButton, {}, from);
    QTest::mouseMove(pGraph, to);
    QTest::mouseRelease(pGraph, Qt::LeftButton, {}, to);
    // the graph reports the drag within 50 ms; the page then fans it out
    ASSERT_TRUE(QTest::qWaitFor([this] {
        return Data().Output(1).EQ()[9].GetGainCode() == Data().Output(0).EQ()[9].GetGainCode();
    }, 2000));
    ASSERT_TRUE(Drain());
    EXPECT_GT(Data().Output(0).EQ()[9].GetGainCode(), 200);
    EXPECT_EQ(Data().Output(1).EQ()[9].GetFrequency(), Data().Output(0).EQ()[9].GetFrequency());
    EXPECT_EQ(Ctl<CSkinFader>(5109)->GetPosInverted(), Data().Output(0).EQ()[9].GetGainCode())
        << "the page's fader follows";
    ExpectBothWritten(9);
}
