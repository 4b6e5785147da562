#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <tuple>

#include "BoxAnswerer.h"
#include "FontStatic.h"
#include "ViewFixture.h"
#include "XPButton.h"
#include "TestPaths.h"

class StartupTest : public ViewTest {};

TEST_F(StartupTest, MainWindowOpensAtTheFormsSizeAndIsBare)
{
    CMainFrame* pFrame = m_pApp->MainFrame();
    EXPECT_EQ(pFrame->size(), QSize(1260, 725));
    EXPECT_NE(pFrame->minimumSize(), pFrame->maximumSize()) << "the user can resize it";
    EXPECT_TRUE(pFrame->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(pFrame->windowTitle(), "ZR-470 Software");
    EXPECT_EQ(pFrame->findChild<QMenuBar*>(), nullptr);
    EXPECT_EQ(pFrame->findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(pFrame->findChild<QToolBar*>(), nullptr);
    pFrame->setWindowTitle("something else");
    pFrame->showMinimized();
    pFrame->showNormal();
    EXPECT_EQ(pFrame->windowTitle(), "ZR-470 Software") << "restoring brings the title back";
}

TEST_F(StartupTest, EveryControlOfTheFormIsThere)
{
    std::vector<int> ids = {1000, 1970, 1483, 1002, 2072, 1368, 2246, 2227, 2225, 2228, 5500, 5501, 5502, 5503,
                            5510, 5511, 5512, 5513, 8801, 8802, 8803, 8804, 1413, 1414, 2247, 2248, 2249, 2250};
    for (int i = 0; i < 6; ++i)
        for (int nBase : {8900, 8960, 6703, 8650, 8630, 6052, 1944, 2103})
            ids.push_back(nBase + i);
    for (int p = 0; p < 4; ++p)
        ids.push_back(2066 + p);
    for (int nId : ids) {
        QWidget* pWidget = Ctl(nId);
        ASSERT_NE(pWidget, nullptr);
        EXPECT_TRUE(pWidget->isVisible()) << nId;
        EXPECT_TRUE(QRect(0, 0, 1260, 725).contains(pWidget->geometry())) << nId << " lies inside the form";
    }
}

TEST_F(StartupTest, WorkingDirectoryGetsDataFileAndSettingsGetDefaults)
{
    EXPECT_TRUE(QDir(m_dir.path() + "/DataFile").exists());
    QSettings settings("ZR_470.exe", "DspMcu");
    EXPECT_EQ(settings.value("Name").toString(), "");
    EXPECT_TRUE(settings.value("Path").toString().endsWith("/DataFile/*.bin"));
    EXPECT_TRUE(settings.value("Path").toString().startsWith(QDir::currentPath()));
    settings.setValue("Name", "/media/usb/ZR470-2.1.bin");
    settings.sync();
    StartApp();
    EXPECT_EQ(View().Settings().m_strName, "/media/usb/ZR470-2.1.bin") << "the next start reads them back";
}

TEST_F(StartupTest, StartsEnglishWithTheFirstChannelSelected)
{
    EXPECT_EQ(g_bChinese.load(), 0);
    EXPECT_EQ(Ctl<CFontStatic>(1483)->text(), "Name");
    EXPECT_TRUE(Ctl<CXPButton>(8900)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(8901)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(1413)->IsPressed()) << "not connected";
    EXPECT_FALSE(View().IsConnected());
}

TEST_F(StartupTest, LanguageOptionSwitchesToChinese)
{
    StartApp(true);
    EXPECT_EQ(g_bChinese.load(), 1);
    EXPECT_EQ(Ctl<CFontStatic>(1483)->text(), QString::fromUtf8("  组名"));
    BoxAnswerer answers({QMessageBox::Cancel});
    Click(2228);  // the equalizer reset asks first
    ASSERT_EQ(answers.m_buttonTexts.size(), 1u);
    EXPECT_TRUE(answers.m_buttonTexts[0].contains(QString::fromUtf8("确定")));
    EXPECT_TRUE(answers.m_buttonTexts[0].contains(QString::fromUtf8("取消")));
}

TEST_F(StartupTest, SetLanguageSetsTheLanguageEvenWhenItIsAlreadySet)
{
    for (bool bChinese : {true, true, false, false}) {
        View().SetLanguage(bChinese);
        EXPECT_EQ(g_bChinese.load(), bChinese ? 1 : 0);
        EXPECT_EQ(Ctl<CFontStatic>(1483)->text(), bChinese ? QString::fromUtf8("  组名") : QString("Name"));
    }
}

TEST_F(StartupTest, WithoutPicturesThereIsNoSplashAndNoLogo)
{
    QElapsedTimer timer;
    timer.start();
    StartApp(false, true);
    EXPECT_LT(timer.elapsed(), 2500) << "no splash, no pause";
    EXPECT_TRUE(Ctl<QLabel>(1970)->pixmap().isNull());
    EXPECT_TRUE(View().isVisible());
}

TEST_F(StartupTest, SplashAndLogoPicturesFromTheWorkingDirectory)
{
    ASSERT_TRUE(QDir().mkpath("Bmp"));
    QImage picture(120, 60, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    ASSERT_TRUE(picture.save("Bmp/Splsh.bmp"));
    ASSERT_TRUE(picture.save("Bmp/LOGO.bmp"));
    QElapsedTimer timer;
    timer.start();
    StartApp(false, true);
    EXPECT_GE(timer.elapsed(), 2900) << "the splash holds start-up for three seconds";
    EXPECT_FALSE(Ctl<QLabel>(1970)->pixmap().isNull());
}

TEST_F(StartupTest, ClosingTheWindowEndsTheCommunicationThread)
{
    EXPECT_TRUE(View().Session().IsCommThreadAlive()) << "created at start-up, before any connection";
    ASSERT_TRUE(ConnectOnline());
    m_pApp->MainFrame()->close();
    EXPECT_FALSE(View().Session().IsCommThreadAlive());
    EXPECT_FALSE(View().IsConnected());
}

// The editor's command line, as a shell user meets it: --help and --version
// need no display, and a device option without its value says so.
TEST(EditorOptions, HelpVersionAndDeviceMistakes)
{
    const auto run = [](const QStringList& args, const char* pPlatform) {
        QProcess editor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("QT_QPA_PLATFORM", pPlatform);
        editor.setProcessEnvironment(env);
        editor.start(Zr470Path(), args);
        EXPECT_TRUE(editor.waitForFinished(10000));
        return std::make_tuple(editor.exitCode(), editor.readAllStandardOutput().toStdString(),
                               editor.readAllStandardError().toStdString());
    };
    auto [nHelp, strHelp, strHelpErr] = run({"--help"}, "xcb");
    EXPECT_EQ(nHelp, 0) << strHelpErr;
    EXPECT_EQ(strHelp.rfind("usage: zr470 [--device", 0), 0u) << strHelp;
    auto [nVersion, strVersion, strVersionErr] = run({"--version"}, "xcb");
    EXPECT_EQ(nVersion, 0) << strVersionErr;
    EXPECT_EQ(strVersion.rfind("zr470 0.", 0), 0u) << strVersion;
    auto [nDevice, strDeviceOut, strDevice] = run({"--device"}, "offscreen");
    EXPECT_EQ(nDevice, 2);
    EXPECT_NE(strDevice.find("zr470: --device needs a value: usb, usb:PATH"), std::string::npos) << strDevice;
    auto [nKind, strKindOut, strKind] = run({"--device", "serial"}, "offscreen");
    EXPECT_EQ(nKind, 2);
    EXPECT_NE(strKind.find("zr470: --device: unknown device \"serial\""), std::string::npos) << strKind;
}
