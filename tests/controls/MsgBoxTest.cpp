// The self-closing message box: one second, or the user's OK, whichever is
// first, and never another window.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "GlobalData.h"
#include "MsgBox.h"
#include "Strings.h"

namespace {

QMessageBox* ShownBox(const QString& strText)
{
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        auto* pBox = qobject_cast<QMessageBox*>(pWidget);
        if (pBox && pBox->isVisible() && pBox->text() == strText)
            return pBox;
    }
    return nullptr;
}

void PressOkAfter(int nMs, const QString& strText)
{
    QTimer::singleShot(nMs, [strText] {
        if (QMessageBox* pBox = ShownBox(strText))
            QTest::mouseClick(pBox->button(QMessageBox::Ok), Qt::LeftButton);
    });
}

class MsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bChinese = 0;
        m_owner.resize(300, 200);
        m_owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_owner));
        m_box.Create(&m_owner);
    }
    qint64 TimedShow(const QString& strText)
    {
        QElapsedTimer timer;
        timer.start();
        m_box.Show(strText);
        return timer.elapsed();
    }
    QWidget m_owner;
    CMsgBox m_box;
};

TEST_F(MsgBoxTest, ClosesItselfAfterAboutOneSecond)
{
    QString strTitle;
    QWidget* pParent = nullptr;
    QTimer::singleShot(200, [&] {
        if (QMessageBox* pBox = ShownBox("Connect failed")) {
            strTitle = pBox->windowTitle();
            pParent = pBox->parentWidget();
        }
    });
    const qint64 nMs = TimedShow("Connect failed");
    EXPECT_GE(nMs, 900);
    EXPECT_LT(nMs, 3000);
    EXPECT_EQ(strTitle, Tr(kTxtAppTitle));
    EXPECT_EQ(pParent, &m_owner);
    EXPECT_EQ(ShownBox("Connect failed"), nullptr);
}

TEST_F(MsgBoxTest, ReturnsAtOnceWhenTheUserPressesOk)
{
    PressOkAfter(100, "Press me");
    EXPECT_LT(TimedShow("Press me"), 800);
}

TEST_F(MsgBoxTest, PendingCloseLeavesALaterBoxAlone)
{
    PressOkAfter(100, "First");
    TimedShow("First");
    QMessageBox later(QMessageBox::Information, "Other", "Later box", QMessageBox::Ok);
    later.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&later));
    later.activateWindow();
    QTest::qWait(1500);
    EXPECT_TRUE(later.isVisible());
}

} // namespace
