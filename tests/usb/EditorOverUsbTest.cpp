// The editor on a processor on USB. The usb-vm stage (scripts/usb-vm.sh)
// runs it in its virtual machine, where ZR470_USB_DEVICE names one of the
// gadgets and ZR470_USB_SCENE the scene name that processor holds;
// elsewhere there is no processor to reach and it skips.
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ControlName.h"
#include "KTV_Data.h"
#include "MainFrm.h"
#include "QM7100.h"
#include "QM7100View.h"
#include "TestPrompts.h"

TEST(EditorOverUsbTest, ConnectsReadsAndShowsTheSceneName)
{
    const QString strDevice = qEnvironmentVariable("ZR470_USB_DEVICE");
    if (strDevice.isEmpty())
        GTEST_SKIP() << "needs a processor on USB: the usb-vm stage runs it";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir::setCurrent(dir.path());
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    CAppOptions options;
    options.strDevice = strDevice;
    options.bSplash = false;
    std::unique_ptr<CTestPrompts> pPrompts;  // outlives the application, whose view asks it
    std::vector<QString> messages;
    CQM7100App app;
    ASSERT_TRUE(app.InitInstance(options));
    pPrompts = std::make_unique<CTestPrompts>(app.View()->FormPrompts());
    pPrompts->m_showMessage = [&messages](const QString& strText, MessageKind) { messages.push_back(strText); };
    app.View()->SetPrompts(pPrompts.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));

    QWidget* pConnect = app.View()->window()->findChild<QWidget*>(ControlName(1413));
    ASSERT_NE(pConnect, nullptr);
    QTest::mouseClick(pConnect, Qt::LeftButton, {}, pConnect->rect().center());
    const auto online = [&app] { return app.View()->Data().State().m_bOnline.load() != 0; };
    ASSERT_TRUE(QTest::qWaitFor(online, 20000)) << (messages.empty() ? "" : messages[0].toStdString());
    const auto* pName = app.View()->window()->findChild<QLineEdit*>(ControlName(1002));
    ASSERT_NE(pName, nullptr);
    EXPECT_EQ(pName->text().toStdString(), qEnvironmentVariable("ZR470_USB_SCENE").toStdString());
    EXPECT_TRUE(messages.empty()) << messages[0].toStdString();
}
