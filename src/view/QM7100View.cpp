#include "QM7100View.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>

#include "AppGlobals.h"
#include "ChannelStrip.h"
#include "ConnectionPanel.h"
#include "CrossoverPanel.h"
#include "PresetFileCommands.h"
#include "RoomTuning.h"
#include "CFStatic.h"
#include "DisplayDlg.h"
#include "EditHistory.h"
#include "FormPrompts.h"
#include "FontStatic.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "MsgBox.h"
#include "OutputDlg.h"
#include "Processor.h"
#include "SkinFactory.h"
#include "SkinIds.h"
#include "SplashWnd.h"
#include "Strings.h"
#include "SxGroupBox.h"
#include "ViewNotifySink.h"
#include "XPButton.h"

namespace {
constexpr int kSplashMs = 3000;
}

CQM7100View::CQM7100View(CProcessor& processor, QWidget* pParent)
    : QWidget(pParent), m_processor(processor), m_data(processor.Data()),
      m_pFormPrompts(std::make_unique<CFormPrompts>(this, [this](const QString& strText) { m_pMsgBox->Show(strText); }))
{
    setObjectName("ctl101");
    setFocusPolicy(Qt::ClickFocus);
}

CQM7100View::~CQM7100View()
{
    // The history watches every event: it goes before the session and the
    // controls it would look at while they are torn down.
    delete m_pHistory;
    m_pHistory = nullptr;
    EndCommThread();
    if (g_pMainView == this)
        g_pMainView = nullptr;
}

void CQM7100View::EndCommThread()
{
    m_processor.Unsubscribe(this);
    if (m_pSession) {
        m_pSession->EndCommThread();
        m_pSession->m_onMessage = nullptr;
    }
    if (m_pSink && State().m_pNotifySink.load() == m_pSink.get())
        State().m_pNotifySink = nullptr;
}

void CQM7100View::OnInitialUpdate(const CAppOptions& options)
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    g_pMainView = this;
    m_pSink = std::make_unique<CViewNotifySink>(this);
    State().m_pNotifySink = m_pSink.get();

    // Paths follow the working directory at start-up, not the program's.
    m_strCurrentDir = QDir::currentPath();
    QDir::current().mkpath("DataFile");
    m_strSplashPath = m_strCurrentDir + "/Bmp/Splsh.bmp";
    m_strLogoPath = m_strCurrentDir + "/Bmp/LOGO.bmp";
    if (options.bSplash && CSplashWnd::ShowSplashScreen(m_strSplashPath, kSplashMs, window())) {
        QEventLoop pause;
        QTimer::singleShot(kSplashMs, Qt::PreciseTimer, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_strFirmwarePattern = m_strCurrentDir + "/DataFile/*.bin";
    m_strHelpPath = m_strCurrentDir + "/Help.chm";
    m_strManualPath = FindManual();

    m_pSession = &m_processor.Session();
    m_pSession->m_onMessage = [this](const std::string& strText, MessageKind kind) {
        AfterLinkEvent();
        ShowMessage(QString::fromStdString(strText), kind);
    };
    CreateControls();
    m_pConnection->SetDevice(options.strDevice);
    SetUpControls();
    SetLanguage(options.bChinese);
    ShowDelays();
    RefreshStrip();
    ApplyDeviceType();
    m_pMsgBox->Create(this);
    m_settings.Load(m_strFirmwarePattern);
    CreateHistory();
    CreateVenueShortcut();
    RecordLayout();
    m_processor.Subscribe(this);
}

void CQM7100View::AfterShown(const CAppOptions& options)
{
    if (options.bConnect)
        QTimer::singleShot(0, this, &CQM7100View::OnConnect);
    if (!options.strVenue.isEmpty())
        QTimer::singleShot(0, this, [this, strVenue = options.strVenue] { OpenVenue(strVenue); });
}

// ---- language and device variant ----------------------------------------------------

void CQM7100View::SetLanguage(bool bChinese)
{
    g_bChinese = bChinese ? 1 : 0;
    update();
    for (CXPButton* pButton : findChildren<CXPButton*>(QString(), Qt::FindDirectChildrenOnly))
        pButton->ApplyLanguage();
    m_pNameLabel->SetText(Tr(kTxtGroupName));
    m_pPage->ApplyLanguage();
    for (auto& [pLabel, text] : m_labelTexts)
        pLabel->SetText(Tr(text));
    for (auto& [pBox, text] : m_groupTexts)
        pBox->SetText(Tr(text));
}

void CQM7100View::ApplyDeviceType()
{
    if (State().m_nDeviceType != 1 && State().m_nDeviceType != 2)
        return;
    if (auto* pFrame = window(); pFrame != this)
        pFrame->setWindowTitle(Tr(kTxtAppTitle));
    ApplyMusicFilterKinds();
    m_pCrossover->ApplySlopeList();
    const int nChannel = m_nCurChannel;
    m_nCurChannel = -1;  // selecting the same channel again must redo everything
    SelectChannel(nChannel);  // refreshes the page and redraws
}

// ---- painting and keyboard -----------------------------------------------------------

bool CQM7100View::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // From the last crossover box the Tab key goes on into the page.
    if (pEvent->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Tab &&
        pWatched == m_pCrossover->LastControl() && FocusIntoPage())
        return true;
    if (pEvent->type() == QEvent::MouseButtonPress && pWatched->isWidgetType()) {
        // A click anywhere first gives the form the focus (commits a field).
        auto* pWidget = static_cast<QWidget*>(pWatched);
        if (pWidget->focusPolicy() == Qt::NoFocus && qobject_cast<QLineEdit*>(focusWidget()))
            setFocus(Qt::MouseFocusReason);
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

bool CQM7100View::FocusIntoPage()
{
    if (!m_pPage->isVisible())
        return false;
    for (QWidget* pChild : m_pPage->findChildren<QWidget*>()) {
        if ((pChild->focusPolicy() & Qt::TabFocus) && pChild->isEnabled() && pChild->isVisible()) {
            pChild->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

void CQM7100View::mousePressEvent(QMouseEvent* pEvent)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(pEvent);
}

// ---- preset files: the commands' part, for the dialogs ------------------------------------

bool CQM7100View::SaveScene()
{
    return m_pFiles->SaveScene();
}

bool CQM7100View::LoadScene()
{
    return m_pFiles->LoadScene();
}

bool CQM7100View::SaveAllScenes()
{
    return m_pFiles->SaveAllScenes();
}

bool CQM7100View::LoadAllScenes()
{
    return m_pFiles->LoadAllScenes();
}

bool CQM7100View::SavePosition()
{
    return m_pFiles->SavePosition();
}

bool CQM7100View::LoadPosition()
{
    return m_pFiles->LoadPosition();
}

// ---- messages ------------------------------------------------------------------

void CQM7100View::ShowMessage(const QString& strText)
{
    ShowMessage(strText, MessageKind::kNotice);
}

void CQM7100View::ShowMessage(const QString& strText, MessageKind kind)
{
    Prompts().ShowMessage(strText, kind);
}

IUserPrompts& CQM7100View::Prompts()
{
    return m_pPrompts ? *m_pPrompts : FormPrompts();
}

IUserPrompts& CQM7100View::FormPrompts()
{
    return *m_pFormPrompts;
}

bool CQM7100View::event(QEvent* pEvent)
{
    if (pEvent->type() == CNotifyEvent::EventType()) {
        auto* pNotify = static_cast<CNotifyEvent*>(pEvent);
        OnNotify(pNotify->m_nMsg, pNotify->m_wParam, pNotify->m_lParam);
        return true;
    }
    return QWidget::event(pEvent);
}

void CQM7100View::OnNotify(int nMsg, intptr_t wParam, intptr_t lParam)
{
    switch (nMsg) {
    case kMsgBandChanged:
        OnGraphBand(static_cast<int>(wParam), static_cast<int>(lParam));
        return;
    case kMsgLevels:
    case kMsgAllEffectsRead:
        return;  // the level lamps are not on this form
    case kMsgEffectRecalled:
        if (wParam >= kEffectProgFirst)
            m_processor.TakeRecalledEffect(static_cast<int>(wParam));
        return;
    default:
        break;
    }
    // The processor tells what the notification changed (OnChange).
    m_processor.HandleNotification(nMsg, wParam, lParam);
    switch (nMsg) {
    case kMsgUsbFailure:
        if (!m_pSession->IsConnected())
            m_pHistory->DropUnconfirmed(m_pSession->ConfirmedWireState());
        break;
    case kMsgLiveReadDone:
        OnLiveReadDone(static_cast<int>(wParam));
        break;
    case kMsgVariant:
        ApplyDeviceType();
        break;
    case kMsgSceneName:
        ShowSceneName();
        break;
    case kMsgAllScenesRead:
        m_pFiles->OnAllScenesRead(static_cast<int>(wParam));
        m_pRoom->OnAllScenesRead(static_cast<int>(wParam));
        break;
    default:
        break;
    }
    AfterLinkEvent();
}
