// The running editor on the virtual processor: the application started as
// a user starts it (no splash), in a scratch working directory, with the
// message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "ControlName.h"
#include "Frame.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "MainFrm.h"
#include "QM7100.h"
#include "QM7100View.h"
#include "TestPrompts.h"
#include "VirtualProcessor.h"
#include "VirtualStartup.h"
#include "VirtualTransport.h"

using RawFrame = std::vector<uint8_t>;

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_strOldDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        // Qt reads the configuration folder once per process: one scratch
        // folder for the whole run, emptied before every test.
        static QTemporaryDir configDir;
        qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
        QSettings("ZR_470.exe", "DspMcu").clear();
        m_pDevice = CVirtualTransport::Shared();
        m_pDevice->SetFaults({});
        m_pDevice->Reappear();
        m_pDevice->SetVariant(1);
        m_pDevice->SetLiveImage(FactoryImage());
        m_pDevice->ClearReceivedFrames();
        StartApp();
    }
    void TearDown() override
    {
        m_pApp.reset();
        m_pDevice->SetFaults({});
        m_pDevice->Reappear();
        QDir::setCurrent(m_strOldDir);
    }

    void StartApp(bool bChinese = false, bool bSplash = false)
    {
        m_pApp.reset();
        CAppOptions options;
        options.strDevice = "virtual";
        options.bSplash = bSplash;
        options.bChinese = bChinese;
        m_pApp = std::make_unique<CQM7100App>();
        ASSERT_TRUE(m_pApp->InitInstance(options));
        m_pPrompts = std::make_unique<CTestPrompts>(View().FormPrompts());
        View().SetPrompts(m_pPrompts.get());
        Prompts().m_showMessage = [this](const QString& str, MessageKind kind) {
            m_messages.push_back(str.toStdString());
            m_messageKinds.push_back(kind);
        };
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pApp->MainFrame()));
    }

    static std::vector<uint8_t> FactoryImage()
    {
        std::vector<uint8_t> image(kImageSize);
        FillStartupImage(image.data());
        return image;
    }

    CQM7100View& View() { return *m_pApp->View(); }
    CKTV_Data& Data() { return View().Data(); }
    CTestPrompts& Prompts() { return *m_pPrompts; }
    CProcessorState& State() { return Data().State(); }

    template <typename T = QWidget>
    T* Ctl(int nId)
    {
        T* pWidget = View().window()->findChild<T*>(ControlName(nId));
        EXPECT_NE(pWidget, nullptr) << "control " << nId;
        return pWidget;
    }

    void Click(int nId)
    {
        QWidget* pWidget = Ctl(nId);
        if (pWidget)
            QTest::mouseClick(pWidget, Qt::LeftButton, {}, pWidget->rect().center());
    }

    // Types into a number field and presses Enter, which gives the form the
    // focus and so commits the text.
    void TypeAndEnter(int nId, const QString& strText) { TypeAndPress(nId, strText, Qt::Key_Return); }
    void TypeAndPress(int nId, const QString& strText, Qt::Key nKey)
    {
        QWidget* pField = Ctl(nId);
        if (!pField)
            return;
        pField->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(pField->window()));
        // A window activation still on its way may move the focus once more.
        QTest::qWait(20);
        pField->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([pField] { return pField->hasFocus(); }, 1000));
        QTest::keyClick(pField, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pField, strText);
        QTest::keyClick(pField, nKey);
        QCoreApplication::processEvents();
    }

    bool ConnectOnline()
    {
        Click(1413);
        // Online, everything sent, and the progress window gone (the form
        // is disabled while it shows).
        return QTest::qWaitFor([this] { return State().m_bOnline.load() != 0; }, 10000) && Drain() &&
               QTest::qWaitFor([this] { return View().isEnabled(); }, 2000);
    }
    bool Drain()
    {
        return QTest::qWaitFor([this] { return !View().Session().HasPendingWork(); }, 10000);
    }
    // Frames the processor received, without the idle level polls.
    std::vector<RawFrame> Sent() const
    {
        std::vector<RawFrame> out;
        for (const RawFrame& f : m_pDevice->ReceivedFrames()) {
            const bool bPoll = f.size() > 8 && f[kFoCommand] == kCmdRead && f[kFoKind] == kKindSystem &&
                               f[kFoChannel] == kItemLevels;
            if (!bPoll)
                out.push_back(f);
        }
        return out;
    }
    int CountWrites(int nKind, int nChannel, int nCommand) const
    {
        int n = 0;
        for (const RawFrame& f : Sent())
            n += (f[kFoCommand] == nCommand && f[kFoKind] == nKind && f[kFoChannel] == nChannel) ? 1 : 0;
        return n;
    }

    QTemporaryDir m_dir;
    QString m_strOldDir;
    std::shared_ptr<CVirtualProcessor> m_pDevice;
    std::unique_ptr<CTestPrompts> m_pPrompts;  // outlives the application, whose view asks it
    std::unique_ptr<CQM7100App> m_pApp;
    std::vector<std::string> m_messages;
    std::vector<MessageKind> m_messageKinds;  // one for each message
};
