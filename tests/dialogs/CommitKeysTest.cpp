// The dialogs' Enter and Esc rule reaches a number field, which keeps both
// keys to itself, even when the field is made after the dialog's base.
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "FormDialog.h"
#include "NumEdit.h"

TEST(CommitKeys, EnterAndEscInANumberFieldMadeLaterCommitItAndCloseNothing)
{
    CFormDialog dialog(nullptr, QStringLiteral("Form"), 200, 100);
    auto* pGroup = new QWidget(&dialog);
    auto* pEdit = new CNumEdit(1203, pGroup);
    pEdit->SetStep(1.0);
    pEdit->SetKind(CNumKinds::kPercent);
    pEdit->SetRange(0, 100);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy notify(pEdit, &CNumEdit::Notify);

    for (const Qt::Key nKey : {Qt::Key_Return, Qt::Key_Escape}) {
        pEdit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pEdit, nKey == Qt::Key_Return ? QStringLiteral("42") : QStringLiteral("7"));
        QTest::keyClick(pEdit, nKey);
        EXPECT_EQ(dialog.focusWidget(), &dialog);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(notify.count(), 2);
    EXPECT_EQ(pEdit->GetValue(), 7);
}
