// The gradient progress bar: range, limits and its band-by-band painting.
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "GradientProgressCtrl.h"

namespace {

class ProgressBar : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        m_pHost = std::make_unique<QWidget>();
        m_pHost->resize(600, 60);
        m_pBar = new CGradientProgressCtrl(1376, m_pHost.get());
        m_pBar->setGeometry(0, 10, GetParam(), 20);
        m_pHost->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pHost.get()));
        m_crFace = m_pBar->palette().color(QPalette::Button);
    }
    QImage Row()
    {
        return m_pBar->grab().toImage().copy(0, m_pBar->height() / 2, m_pBar->width(), 1);
    }
    // The default red-to-blue run has 255 bands of one colour step each;
    // where bands are narrower than a pixel the last one starting at or
    // before x shows.
    int StepAt(int x) const { return (x * 255 + 254) / GetParam(); }

    std::unique_ptr<QWidget> m_pHost;
    CGradientProgressCtrl* m_pBar = nullptr;
    QColor m_crFace;
};

TEST_P(ProgressBar, AtLowerOnlyTheButtonFace)
{
    EXPECT_EQ(m_pBar->GetPos(), 0);
    const QImage row = Row();
    for (int x = 0; x < row.width(); ++x)
        ASSERT_EQ(row.pixelColor(x, 0), m_crFace) << "x " << x;
    m_pBar->SetPos(-5);
    EXPECT_EQ(Row().pixelColor(0, 0), m_crFace);
}

TEST_P(ProgressBar, AtUpperTheWholeGradient)
{
    m_pBar->SetPos(100);
    const QImage row = Row();
    EXPECT_GE(row.pixelColor(0, 0).red(), 254);
    const QColor crLast = row.pixelColor(row.width() - 1, 0);
    EXPECT_LE(crLast.red(), 2);
    EXPECT_GE(crLast.blue(), 253);
    for (int x = 0; x < row.width(); ++x) {
        const QColor cr = row.pixelColor(x, 0);
        ASSERT_EQ(cr.green(), 0) << "x " << x;
        ASSERT_EQ(cr.red() + cr.blue(), 255) << "x " << x;
        ASSERT_EQ(cr.blue(), StepAt(x)) << "x " << x;
    }
}

TEST_P(ProgressBar, PartialBarEndsInTheButtonFace)
{
    m_pBar->SetPos(50);
    const int nLength = GetParam() / 2;
    const QImage row = Row();
    EXPECT_EQ(row.pixelColor(nLength - 2, 0).blue(), StepAt(nLength - 2));
    EXPECT_EQ(row.pixelColor(nLength + 1, 0), m_crFace);
    EXPECT_EQ(row.pixelColor(GetParam() - 1, 0), m_crFace);
}

INSTANTIATE_TEST_SUITE_P(Widths, ProgressBar, ::testing::Values(255, 510, 200));

TEST(GradientProgressCtrl, PositionIsLimitedToUpper)
{
    CGradientProgressCtrl bar(1376, nullptr);
    EXPECT_EQ(bar.objectName(), "ctl1376");
    EXPECT_EQ(bar.GetUpper(), 100);
    EXPECT_EQ(bar.SetPos(150), 0);
    EXPECT_EQ(bar.GetPos(), 100);

    bar.SetRange(0, 40);
    EXPECT_EQ(bar.GetPos(), 0);
    EXPECT_EQ(bar.GetUpper(), 40);
}

TEST(GradientProgressCtrl, AboveUpperRequestStillDrawsTheFullBar)
{
    QWidget host;
    auto* pBar = new CGradientProgressCtrl(1376, &host);
    pBar->setGeometry(0, 0, 255, 10);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    pBar->SetPos(1000);
    const QImage image = pBar->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 5), QColor(255, 0, 0));
    EXPECT_GE(image.pixelColor(254, 5).blue(), 253);
}

} // namespace
