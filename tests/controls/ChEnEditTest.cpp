// The program-name field: with the flag 0 double-byte characters never get
// in, however they arrive; with the flag 1 they do.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "ChEnEdit.h"

namespace {

class ChEnEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pEdit = new CChEnEdit(2101, &m_window);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_pEdit->setFocus(Qt::TabFocusReason);
    }

    // Key presses carrying the characters, as a keyboard layout sends them.
    void TypeKeys(const QString& strText)
    {
        for (const QChar ch : strText)
            QTest::sendKeyEvent(QTest::Click, m_pEdit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    void CommitFromInputMethod(const QString& strText)
    {
        QInputMethodEvent commit;
        commit.setCommitString(strText);
        QApplication::sendEvent(m_pEdit, &commit);
    }

    QWidget m_window;
    CChEnEdit* m_pEdit = nullptr;
};

}  // namespace

TEST_F(ChEnEditTest, AcceptsEverythingAfterConstruction)
{
    EXPECT_EQ(m_pEdit->GetFlag(), 1);
    EXPECT_EQ(m_pEdit->objectName(), QStringLiteral("ctl2101"));
    TypeKeys(QStringLiteral("Ab歌"));
    CommitFromInputMethod(QStringLiteral("曲"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("Ab歌曲"));
}

TEST_F(ChEnEditTest, FlagZeroDropsTypedDoubleByteCharacters)
{
    m_pEdit->SetFlag(0);
    TypeKeys(QStringLiteral("Ab歌1 é"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("Ab1 é"));
    EXPECT_EQ(m_pEdit->cursorPosition(), 5);
    CommitFromInputMethod(QStringLiteral("中文"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("Ab1 é"));
}

TEST_F(ChEnEditTest, FlagZeroDropsDoubleByteCharactersFromPastedText)
{
    m_pEdit->SetFlag(0);
    TypeKeys(QStringLiteral("[]"));
    QTest::keyClick(m_pEdit, Qt::Key_Left);
    QApplication::clipboard()->setText(QStringLiteral("Hi你好!"));
    QTest::keyClick(m_pEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("[Hi!]"));
    // The cursor stays after what was pasted.
    TypeKeys(QStringLiteral("x"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("[Hi!x]"));
}

TEST_F(ChEnEditTest, SettingTheFlagBackAcceptsChineseAgain)
{
    m_pEdit->SetFlag(0);
    TypeKeys(QStringLiteral("歌"));
    EXPECT_TRUE(m_pEdit->text().isEmpty());
    m_pEdit->SetFlag(1);
    TypeKeys(QStringLiteral("歌"));
    EXPECT_EQ(m_pEdit->text(), QStringLiteral("歌"));
}
