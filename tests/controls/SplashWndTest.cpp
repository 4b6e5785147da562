// The start-up picture window: shown only for a readable picture, exactly
// its size, centred, gone after its period.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "SplashWnd.h"

namespace {

int VisibleSplashWindows()
{
    int nCount = 0;
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        nCount += qobject_cast<CSplashWnd*>(pWidget) && pWidget->isVisible();
    return nCount;
}

// Counts the repaints of the main window.
class PaintCounter : public QObject {
public:
    int nPaints = 0;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        nPaints += pEvent->type() == QEvent::Paint;
        return QObject::eventFilter(pObject, pEvent);
    }
};

class SplashWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_main.resize(320, 200);
        m_main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_main));
    }
    void TearDown() override
    {
        EXPECT_TRUE(QTest::qWaitFor([] { return CSplashWnd::Current() == nullptr; }, 3000));
    }
    QString WritePicture(const QString& strName, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(30, 90, 160));
        const QString strPath = m_dir.filePath(strName);
        EXPECT_TRUE(image.save(strPath, "BMP"));
        return strPath;
    }
    QTemporaryDir m_dir;
    QWidget m_main;
};

TEST_F(SplashWndTest, MissingOrUnreadablePictureShowsNothing)
{
    EXPECT_FALSE(CSplashWnd::ShowSplashScreen(m_dir.filePath("Splsh.bmp"), 200, &m_main));
    QFile garbage(m_dir.filePath("Broken.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM not really a picture");
    garbage.close();
    EXPECT_FALSE(CSplashWnd::ShowSplashScreen(garbage.fileName(), 200, &m_main));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(VisibleSplashWindows(), 0);
}

TEST_F(SplashWndTest, PictureSizedCentredWindowGoesAwayAfterItsPeriod)
{
    const QString strPath = WritePicture("Splsh.bmp", QSize(123, 77));
    ASSERT_TRUE(CSplashWnd::ShowSplashScreen(strPath, 200, &m_main));
    QPointer<CSplashWnd> pSplash = CSplashWnd::Current();
    ASSERT_TRUE(pSplash);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pSplash.data()));
    EXPECT_EQ(VisibleSplashWindows(), 1);
    EXPECT_EQ(pSplash->size(), QSize(123, 77));
    EXPECT_TRUE(pSplash->windowFlags() & Qt::FramelessWindowHint);
    const QRect rcWork = m_main.screen()->availableGeometry();
    EXPECT_NEAR(pSplash->geometry().center().x(), rcWork.center().x(), 1);
    EXPECT_NEAR(pSplash->geometry().center().y(), rcWork.center().y(), 1);
    EXPECT_EQ(pSplash->grab().toImage().pixelColor(60, 40), QColor(30, 90, 160));

    // At most one at a time.
    EXPECT_FALSE(CSplashWnd::ShowSplashScreen(strPath, 200, &m_main));

    PaintCounter counter;
    m_main.installEventFilter(&counter);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pSplash.isNull(); }, 3000));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(VisibleSplashWindows(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.nPaints > 0; }, 1000));

    // Once gone, a new one may come.
    EXPECT_TRUE(CSplashWnd::ShowSplashScreen(strPath, 50, &m_main));
}

} // namespace
