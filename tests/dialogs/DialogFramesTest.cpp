// The fixed-size dialogs' window frames: a title and a close box, nothing
// that would resize them, a maximise button least of all.
#include <QWindow>

#include "CurSYSDlg.h"
#include "DataViewDlg.h"
#include "DelayDlg.h"
#include "FirmwareFixture.h"

namespace {

void ExpectFixedFrame(QWidget& dialog)
{
    SCOPED_TRACE(dialog.objectName().toStdString());
    ASSERT_NE(dialog.windowHandle(), nullptr);
    const Qt::WindowFlags flags = dialog.windowHandle()->flags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "no buttons the platform would add of its own";
    EXPECT_FALSE(flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.windowHandle()->minimumSize(), dialog.windowHandle()->maximumSize());
}

}  // namespace

using DialogFramesTest = FirmwareTest;

TEST_F(DialogFramesTest, FixedSizeDialogsOfferNoMaximiseButton)
{
    EXPECT_TRUE(WithModal<CProgramDlg>(8801, ExpectFixedFrame));
    EXPECT_TRUE(WithModal<CCurSYSDlg>(8802, ExpectFixedFrame));
    EXPECT_TRUE(WithModal<CDelayDlg>(2246, ExpectFixedFrame));
    EXPECT_TRUE(WithModal<CDataViewDlg>(8803, ExpectFixedFrame));
    EXPECT_TRUE(WithVersionDialog(ExpectFixedFrame));
    EXPECT_TRUE(WithUpgradeDialog(ExpectFixedFrame));
}
