// The pair-link and link-all dialogs: texts, first choice, OK and Cancel.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "FindControl.h"
#include "ControlName.h"
#include "All_Link_Dlg.h"
#include "ButtonRadio.h"
#include "CH_Link_Dlg.h"

namespace {

void Click(QWidget* pWidget)
{
    QTest::mouseClick(pWidget, Qt::LeftButton, {}, QPoint(8, pWidget->height() / 2));
}

// Runs the dialog modally; pAct works in it, then closes it.
int RunWith(QDialog& dialog, std::function<void()> act)
{
    QTimer::singleShot(0, [&dialog, act] {
        EXPECT_TRUE(dialog.isVisible());
        act();
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.exec();
}

struct PairTexts {
    int nPair;
    const char* szCaption;
    const char* szFirst;
    const char* szSecond;
};

}  // namespace

TEST(LinkDialogs, PairDialogTextsAndFirstRadioSelected)
{
    const PairTexts pairs[] = {
        {0, "Linking of CH1 and CH2 channel", "CH1 be applied?", "CH2 be applied? "},
        {1, "Linking of CH3 and CH4 channel", "CH3 be applied? ", "CH4 be applied? "},
        {2, "Linking of CH5 and CH6 channel", "CH5 be applied? ", "CH6 be applied? "},
    };
    for (const PairTexts& texts : pairs) {
        CCH_Link_Dlg dialog(texts.nPair, nullptr);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), texts.szCaption);
        EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Which channel data should be applied? ");
        EXPECT_EQ(FindControl<CButtonRadio>(dialog, 2259)->text(), texts.szFirst);
        EXPECT_EQ(FindControl<CButtonRadio>(dialog, 2258)->text(), texts.szSecond);
        EXPECT_TRUE(FindControl<CButtonRadio>(dialog, 2259)->isChecked());
        EXPECT_FALSE(FindControl<CButtonRadio>(dialog, 2258)->isChecked());
        EXPECT_EQ(dialog.Choice(), 0);
        EXPECT_EQ(dialog.size(), QSize(249, 156));
    }
}

TEST(LinkDialogs, PairDialogReportsTheClickedRadio)
{
    CCH_Link_Dlg dialog(1, nullptr);
    const int nResult = RunWith(dialog, [&dialog] {
        Click(FindControl<CButtonRadio>(dialog, 2258));
        Click(FindControl<QPushButton>(dialog, 1));
    });
    EXPECT_EQ(nResult, QDialog::Accepted);
    EXPECT_EQ(dialog.Choice(), 1);

    CCH_Link_Dlg cancelled(2, nullptr);
    const int nCancel = RunWith(cancelled, [&cancelled] {
        Click(FindControl<CButtonRadio>(cancelled, 2258));
        Click(FindControl<QPushButton>(cancelled, 2));
    });
    EXPECT_EQ(nCancel, QDialog::Rejected);
}

TEST(LinkDialogs, LinkAllDialogTextsAndChoice)
{
    CAll_Link_Dlg dialog(nullptr);
    const int nResult = RunWith(dialog, [&dialog] {
        EXPECT_EQ(dialog.windowTitle(), "Linking of all channel");
        EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Which channel data should be applied? ");
        for (int k = 0; k < 6; ++k) {
            CButtonRadio* pRadio = FindControl<CButtonRadio>(dialog, 2251 + k);
            EXPECT_EQ(pRadio->text(), QStringLiteral("CH%1 be applied?").arg(k + 1));
            EXPECT_EQ(pRadio->isChecked(), k == 0);
        }
        EXPECT_EQ(dialog.Choice(), 0);
        EXPECT_EQ(dialog.size(), QSize(281, 226));
        Click(FindControl<CButtonRadio>(dialog, 2255));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(nResult, QDialog::Accepted);
    EXPECT_EQ(dialog.Choice(), 4);
}

TEST(LinkDialogs, LinkAllCancelIsRejected)
{
    CAll_Link_Dlg dialog(nullptr);
    const int nResult = RunWith(dialog, [&dialog] { Click(FindControl<QPushButton>(dialog, 2)); });
    EXPECT_EQ(nResult, QDialog::Rejected);
    EXPECT_EQ(dialog.Choice(), 0);
}
