// The main form: the response graph and the equalizer page of the selected
// output, the scene name, the listening-position delays and the command
// buttons, composed with its parts, each in its own class: the channel strip
// (ChannelStrip), the crossover panel (CrossoverPanel), the preset-file
// commands (PresetFileCommands), room tuning (RoomTuning) and the connection
// (ConnectionPanel). It receives every notification the link posts, and is
// told the processor's changes as a subscriber.
//
// User-interface thread only. The link thread reaches the form only through
// CViewNotifySink, which posts events.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "AppOptions.h"
#include "ChangeEvent.h"
#include "FirmwareHost.h"
#include "FirmwareSettings.h"
#include "FormHost.h"
#include "GlobalData.h"
#include "LinkTexts.h"
#include "OutputHost.h"
#include "ScaledLayout.h"
#include "Strings.h"
#include "UserPrompts.h"

class CChannelStrip;
class CConnectionPanel;
class CCrossoverPanel;
class CPresetFileCommands;
class CRoomTuning;
class CDisplayDlg;
class CEditHistory;
class CEnTabCtrl;
class CFStatic;
class CFontStatic;
class CKTV_Data;
class CFormPrompts;
class CProcessor;
class CLinkSession;
class CMsgBox;
class CNumEdit;
class COutputDlg;
class CProgramDlg;
class CUpgradeDlg;
class CVenueDlg;
struct VenueDlgHost;
struct RoomStatus;
class CSxGroupBox;
class CTransparentStatic;
class CViewNotifySink;
class CXPButton;
class QLabel;
class QLineEdit;


class CQM7100View : public QWidget, public IOutputHost, public IFormHost, public IFirmwareHost, public IChangeSubscriber {
    Q_OBJECT
public:
    CQM7100View(CProcessor& processor, QWidget* pParent);
    ~CQM7100View() override;

    // Start-up of the form (controls, pages, thread, settings); runs once.
    void OnInitialUpdate(const CAppOptions& options);
    // After the main window is shown: the splash pause and --connect.
    void AfterShown(const CAppOptions& options);
    void EndCommThread();

    // ---- services other windows call ------------------------------------------------
    void SelectChannel(int nChannel);
    // bKeepLinks: the link buttons show the groups instead of undoing them.
    void RefreshStrip(bool bKeepLinks = false);
    void ShowSceneName() override;
    void SetSceneName(const QString& strName);
    void SelectPosition(int nPosition);
    void SetDelay(int nChannel, int nValue) override;
    void ShowDelays() override;
    void SendSystemItem(int nItem, int nPreset) override;
    // A position set by the delay manager or a position file: shown, the
    // delay table marked for sending while connected, system item 64 sent.
    void ApplyPosition(int nPosition) override;
    // The equalizer reset of the selected output and its link group.
    void ResetEqualizers() override;
    // While connected, output k written whole; the second output of a
    // linked pair (or the last of link-all) closes the progress window.
    void ResendOutputRecord(int nChannel) override;
    void AfterEdit() override;
    // The form changed the model: the processor tells its subscribers.
    void NoteEdit();
    // Every text and skin of the form in the language given.
    void SetLanguage(bool bChinese);
    void ApplyDeviceType();

    // ---- settings dialogs (ViewSettings.cpp) ----------------------------------------
    // The SYSTEM button: the system settings, modal.
    void OnSystem();
    // The DELAY button: the delay manager, modal.
    void OnDelayManager();

    // ---- parameter report (ViewReport.cpp) -------------------------------------------
    // The REPORT button: the report of the six outputs, modal.
    void OnReport();
    // The report's export asks for its worksheet: the same folder and name
    // every time. Empty when cancelled.
    QString AskExportFile() override;

    // ---- scene programs (ViewPrograms.cpp) ------------------------------------------
    // The PROGRAM button: the program manager, modal.
    void OnProgram();
    // The program manager while it is open, else nullptr.
    CProgramDlg* ProgramDialog() const;

    // ---- help and firmware update (ViewFirmware.cpp) --------------------------------
    // The ABOUT button: the Help dialog, then on its OK the update dialog.
    void OnAbout();
    // Help.chm in the working directory, else the installed manual; false
    // (after "Not Find Help File") when neither opens.
    bool OpenHelp() override;
    // The update dialog's services: Browse (the chosen file stored, empty
    // when cancelled), Update (false after the file's message, which also
    // forgets the file), Quit.
    QString BrowseFirmware() override;
    bool UpdateFirmware(const QString& strPath) override;
    void CancelFirmwareUpdate() override;
    QString FirmwareFile() const override { return m_settings.m_strName; }
    CUpgradeDlg* UpgradeDialog() const;
    // The manual opened when there is no Help.chm; empty: none installed.
    QString m_strManualPath;
    static QString FindManual();

    // ---- preset files: the commands' part, for the dialogs ------------------------------
    bool SaveScene() override;
    bool LoadScene() override;
    bool SaveAllScenes() override;
    bool LoadAllScenes() override;
    bool SavePosition() override;
    bool LoadPosition() override;

    // ---- the parts ------------------------------------------------------------------------
    CChannelStrip& Strip() { return *m_pStrip; }
    CCrossoverPanel& Crossover() { return *m_pCrossover; }
    CPresetFileCommands& Files() { return *m_pFiles; }
    CRoomTuning& Room() { return *m_pRoom; }
    CConnectionPanel& Connection() { return *m_pConnection; }

    // ---- what the parts share -------------------------------------------------------------
    void OnConnect();  // the Connect button
    bool IsConnected() const override;
    CProcessorState& State() const override;
    CLinkSession& Session() override { return *m_pSession; }
    CKTV_Data& Data() { return m_data; }
    CProcessor& Processor() override { return m_processor; }
    void AfterDeviceCommand() override { AfterLinkEvent(); }
    CFStatic* Graph() const { return m_pGraph; }
    COutputDlg* Page() const { return m_pPage; }
    // The form's own size; at others it is scaled down or spread out.
    static QSize BaseSize();
    const CFormFit& Fit() const { return m_fit; }
    CDisplayDlg* ProgressDialog() const;
    int CurrentChannel() const { return m_nCurChannel; }
    const QString& CurrentDir() const { return m_strCurrentDir; }
    void RedrawAll();
    // The selected output's crossover and equalizer page shown again.
    void RefreshSelectedOutput();
    void AfterLinkEvent();
    // A file load is one step, named after the file, undone whole.
    void NameLoadStep(const QString& strPath);
    // The window the progress window disables: the program manager while
    // it is open (every batch then is its), else the form.
    QWidget* ProgressOwner();
    // Levels and the music volume are shown in dB.
    static void SetLevelField(CNumEdit* pEdit);
    // For the parts while they create their controls on the form.
    CXPButton* MakeButton(int nId, int nSkin, int nX, int nY);
    void AddLabel(TextId text, int nX, int nY, int nWidth);
    void AddGroupBox(TextId caption, const QRect& rect);
    const CFirmwareSettings& Settings() const { return m_settings; }
    // A message for the user: a notice, or one of the kind given; English
    // link failures close themselves.
    void ShowMessage(const QString& strText) override;
    void ShowMessage(const QString& strText, MessageKind kind);
    // How the form asks the user: its own dialogs, or those a test or tool
    // puts in (nullptr: the form's own again).
    void SetPrompts(IUserPrompts* pPrompts) { m_pPrompts = pPrompts; }
    IUserPrompts& Prompts();
    IUserPrompts& FormPrompts();

    // ---- the venue (ViewVenue.cpp) ---------------------------------------------------------
    // Reads a venue file and shows its Venue window; a refused file is
    // told with its line and reason.
    bool OpenVenue(const QString& strPath);
    void OnOpenVenue();
    CVenueDlg* VenueWindow() const;
    // Closes the form's link, if any, and connects to strDevice.
    void ConnectTo(const QString& strDevice);

    // ---- edit history (ViewHistory.cpp) ------------------------------------------------
    CEditHistory& History() { return *m_pHistory; }
    // The History… window, shown.
    void OnHistory();

    // A notification posted by the link, the graph or a fader.
    void OnNotify(int nMsg, intptr_t wParam, intptr_t lParam);
    // A change of the processor, whatever made it: shown where it is shown.
    void OnChange(const ChangeEvent& event) override;

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // ---- construction (ViewLayout.cpp) -------------------------------------------
    void CreateControls();
    void CreateGraphArea();
    void CreateHeader();
    void CreateDelays(int nX, int nY);
    void CreateCommands(int nX, int nY);
    void ConnectHandlers();
    bool FocusIntoPage();
    void SetUpControls();

    // ---- the form at any window size (ViewScale.cpp) ------------------------------
    void RecordLayout();
    void ApplyFit(const CFormFit& fit);
    QRect Place(QWidget* pChild, const QRect& rcBase) const;
    static int StripShift(const QRect& rcBase, int nExtraX);

    // ---- equalizers (ViewEqualizer.cpp) ---------------------------------------------
    void OnGraphBand(int nBand, int nSource);
    void ApplyMusicFilterKinds();

    // ---- the venue (ViewVenue.cpp) ---------------------------------------------------------
    void CreateVenueShortcut();
    VenueDlgHost VenueHost();
    RoomStatus FormRoomStatus();

    // ---- edit history (ViewHistory.cpp) ------------------------------------------------
    void CreateHistory();
    // The model shown again after an undo or redo.
    void ShowModel();

    // ---- delays (ViewDelays.cpp) -------------------------------------------------
    void OnPosition(int nPosition);

    // ---- connection (ViewConnect.cpp) ---------------------------------------------
    void OnLiveReadDone(int nPreset);

    CScaledLayout m_layout;
    CFormFit m_fit;
    bool m_bLaidOut = false;
    QSize m_szPageBase;
    QPixmap m_pixBackground;  // at any size but the form's own
    int m_nBackgroundSkin = 0;

    CProcessor& m_processor;
    CKTV_Data& m_data;
    CLinkSession* m_pSession = nullptr;  // the processor's, once the form is set up
    std::unique_ptr<CViewNotifySink> m_pSink;
    CEditHistory* m_pHistory = nullptr;  // a child of the form
    int m_nCurChannel = 0;
    bool m_bInitialised = false;
    QString m_strCurrentDir;
    QString m_strSplashPath;
    QString m_strLogoPath;
    QString m_strFirmwarePattern;
    QString m_strHelpPath;
    CFirmwareSettings m_settings;
    QPointer<CProgramDlg> m_pProgramDlg;
    QPointer<CUpgradeDlg> m_pUpgradeDlg;
    QPointer<CVenueDlg> m_pVenue;
    // Labels and group captions of the form, re-lettered when the language changes.
    std::vector<std::pair<CFontStatic*, TextId>> m_labelTexts;
    std::vector<std::pair<CSxGroupBox*, TextId>> m_groupTexts;

    // ---- controls (ids in the object names) -----------------------------------------
    CFStatic* m_pGraph = nullptr;                       // 1000
    QLabel* m_pLogo = nullptr;                           // 1970
    CFontStatic* m_pNameLabel = nullptr;                 // 1483
    QLineEdit* m_pSceneName = nullptr;                   // 1002
    std::array<CTransparentStatic*, kOutputs> m_pDelayLabel{};  // 8960 + i
    std::array<CXPButton*, 4> m_pPosition{};             // 2066 + p
    CTransparentStatic* m_pPositionName = nullptr;       // 2072
    CEnTabCtrl* m_pTabFrame = nullptr;                   // 1368
    COutputDlg* m_pPage = nullptr;                       // 136, in the tab frame
    CXPButton* m_pDelayButton = nullptr;                 // 2246
    CXPButton* m_pProgram = nullptr;                     // 8801
    CXPButton* m_pSystem = nullptr;                      // 8802
    CXPButton* m_pReport = nullptr;                      // 8803
    CXPButton* m_pAbout = nullptr;                       // 8804
    // ---- the parts (children of the form) ---------------------------------------------
    CChannelStrip* m_pStrip = nullptr;
    CCrossoverPanel* m_pCrossover = nullptr;
    std::unique_ptr<CPresetFileCommands> m_pFiles;
    CRoomTuning* m_pRoom = nullptr;
    CConnectionPanel* m_pConnection = nullptr;
    std::unique_ptr<CMsgBox> m_pMsgBox;
    std::unique_ptr<CFormPrompts> m_pFormPrompts;
    IUserPrompts* m_pPrompts = nullptr;
};
