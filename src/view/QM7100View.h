// The main form: the response graph, the strip of six outputs (level, mute,
// polarity, curve, selection), the crossover of the selected output, the
// listening-position delays, linking, and the Connect button. It owns the
// device session (and with it the communication thread) and receives every
// notification the link posts.
//
// User-interface thread only. The link thread reaches the form only through
// CViewNotifySink, which posts events.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "AppOptions.h"
#include "FirmwareHost.h"
#include "FirmwareSettings.h"
#include "FormHost.h"
#include "GlobalData.h"
#include "LinkTexts.h"
#include "OutputHost.h"
#include "Strings.h"
#include "UserPrompts.h"

class CButtonRadio;
class CDisplayDlg;
class CEditHistory;
class CEnTabCtrl;
class CFStatic;
class CFilter;
class CFontStatic;
class CGradientProgressCtrl;
class CKTV_Data;
class CFormPrompts;
class CProcessor;
class CKTV_OutData;
class CLinkSession;
class CMsgBox;
class CNumEdit;
class CNumSpin;
class COutputDlg;
class CProgramDlg;
class CUpgradeDlg;
class QUrl;
class CSkinFader;
class CSxGroupBox;
class CTransparentStatic;
struct FilterMapping;
class CViewNotifySink;
class CXPButton;
class QComboBox;
class QLabel;
class QLineEdit;


// One crossover filter's controls: frequency field and spin, type and slope.
struct CrossoverControls {
    CNumEdit* pFreq = nullptr;
    CNumSpin* pSpin = nullptr;
    QComboBox* pType = nullptr;
    QComboBox* pSlope = nullptr;
};

class CQM7100View : public QWidget, public IOutputHost, public IFormHost, public IFirmwareHost {
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
    // The link's sequences, with the progress window shown for them.

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

    // ---- preset files (ViewFiles.cpp) -----------------------------------------------
    // Each asks for its file and returns true when it was written or loaded;
    // SaveAllScenes returns true once the read from the processor is under
    // way, and the file is written when that read has finished.
    bool SaveScene() override;
    bool LoadScene() override;
    bool SaveAllScenes() override;
    bool LoadAllScenes() override;
    bool SavePosition() override;
    bool LoadPosition() override;

    // ---- room tuning (ViewRoomTuning.cpp) -------------------------------------------
    // The graph's context menu on the selected output: a measurement onto
    // the graph, and filter sets into and out of the output's bands. Each
    // returns true when it did its work; refusals are told to the user.
    bool LoadMeasurement();
    void ClearMeasurement();
    bool ImportFilters();
    bool ExportFilters();
    // The fit dialog on the output's measurement; true when a fit was applied.
    bool FitToMeasurement();

    // ---- connecting --------------------------------------------------------------------
    void OnConnect();  // the Connect button
    bool IsConnected() const override;
    CProcessorState& State() const override;
    CLinkSession& Session() override { return *m_pSession; }
    CKTV_Data& Data() { return m_data; }
    CProcessor& Processor() override { return m_processor; }
    void AfterDeviceCommand() override { AfterLinkEvent(); }
    CFStatic* Graph() const { return m_pGraph; }
    CDisplayDlg* ProgressDialog() const { return m_pDisplay; }
    int CurrentChannel() const { return m_nCurChannel; }
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

    // ---- edit history (ViewHistory.cpp) ------------------------------------------------
    CEditHistory& History() { return *m_pHistory; }
    // The History… window, shown.
    void OnHistory();

    // A notification posted by the link, the graph or a fader.
    void OnNotify(int nMsg, intptr_t wParam, intptr_t lParam);

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // ---- construction (ViewLayout.cpp) -------------------------------------------
    void CreateControls();
    void CreateGraphArea();
    void CreateHeader();
    void CreateCrossover();
    void CreateStrip();
    void CreateChannel(int i, int nX, int nY);
    void CreateMusic(int nX, int nY);
    void CreateDelays(int nX, int nY);
    void CreateCommands(int nX, int nY);
    CXPButton* MakeButton(int nId, int nSkin, int nX, int nY);
    void AddLabel(TextId text, int nX, int nY, int nWidth);
    void AddGroupBox(TextId caption, const QRect& rect);
    CrossoverControls MakeCrossover(int nBaseId, int nY);
    void ConnectHandlers();
    bool FocusIntoPage();
    void ConnectChannel(int i);
    void ConnectCrossover();
    void SetUpControls();

    // ---- strip (ViewStrip.cpp) ----------------------------------------------------
    void OnMute(int i);
    void OnPolarity(int i);
    void OnLevelEdit(int i);
    void OnLevelFader(int i);
    void OnLine(int i);
    void OnVolumeEdit();
    void OnVolumeFader();
    void ShowLevel(int i);
    void ShowPolarity(int i);
    void ShowLinkedLevels(int i);
    void ShowLinkedPolarity(int i);
    void OnFaderMoved(int nId, int nPos);
    void RedrawAll();

    // ---- crossover (ViewCrossover.cpp) --------------------------------------------
    void OnHighPassFreq();
    void OnLowPassFreq();
    void OnCrossoverType(bool bHighPass);
    void OnCrossoverSlope(bool bHighPass);
    void RefreshCrossover();
    void OnGraphBand(int nBand, int nSource);
    void CopyCrossoverToLinked(bool bHighPass);
    // An edit of the selected output's crossover filter and of its linked outputs'.
    void EditCrossover(bool bHighPass, const std::function<void(CFilter&)>& edit);
    void OnReset();
    void ApplySlopeList();
    static void SetLevelField(CNumEdit* pEdit);
    void ApplyMusicFilterKinds();

    // ---- linking (ViewLinks.cpp) -------------------------------------------------
    void OnPairLink(int nPair);
    void OnLinkAll();
    void ResetLinks();
    bool IsPairLinked(int nPair) const;
    bool IsLinkAll() const;
    void ShowPairLinked(int nPair);
    void JoinGroup(int nChannel, int nGroup);
    void LinkAllFrom(int nSource);
    void RefreshChannelFromRecord(int nChannel);
    void ShowLinks();

    // ---- edit history (ViewHistory.cpp) ------------------------------------------------
    void CreateHistory();
    // The model shown again after an undo or redo.
    void ShowModel();
    // A file load is one step, named after the file, undone whole.
    void NameLoadStep(const QString& strPath);

    // ---- delays (ViewDelays.cpp) -------------------------------------------------
    void OnPosition(int nPosition);

    // ---- connection (ViewConnect.cpp) ---------------------------------------------
    void Connect();
    void Disconnect();
    void AfterLinkEvent();
    void ShowConnectState();
    void OnLiveReadDone(int nPreset);
    void UpdateProgress();
    // The window the progress window disables: the program manager while
    // it is open (every batch then is its), else the form.
    QWidget* ProgressOwner();
    // ---- scene programs (ViewPrograms.cpp) ----------------------------------------

    // ---- preset files (ViewFiles.cpp) --------------------------------------------
    QString AskFile(bool bSave, std::string_view ext);
    // A preset file asked for, read whole and checked; nothing when the user
    // cancels or the file is unfit, which the user has then been told.
    struct PresetFileRead {
        QString strPath;
        std::vector<uint8_t> bytes;
    };
    using PresetCheck = bool (*)(std::span<const uint8_t>);
    std::optional<PresetFileRead> AskPresetFile(std::string_view ext, size_t nSize, PresetCheck isValid,
                                                const QString& strUnfit);
    // Notification 1135: the programs have been read; the file asked for is written.
    void OnAllScenesRead(int nPrograms);
    // ---- room tuning (ViewRoomTuning.cpp) -----------------------------------------
    // Opens in the folder last used for files of strFilter, DataFile/ at first.
    QString AskRoomFile(bool bSave, const QString& strFilter);
    bool AskParametricMode();
    // The bands on the output (and its linked outputs), the page and graph redrawn.
    // One step of the edit history, named strStep.
    void ApplyRoomMapping(const FilterMapping& mapping, const QString& strStep);
    std::map<QString, QString> m_roomFolders;  // file filter → folder last used

    CProcessor& m_processor;
    CKTV_Data& m_data;
    CLinkSession* m_pSession = nullptr;  // the processor's, once the form is set up
    std::unique_ptr<CViewNotifySink> m_pSink;
    CEditHistory* m_pHistory = nullptr;  // a child of the form
    QString m_strDevice;
    int m_nCurChannel = 0;
    bool m_bShortSlopes = false;
    bool m_bInitialised = false;
    QString m_strCurrentDir;
    QString m_strSplashPath;
    QString m_strLogoPath;
    QString m_strFirmwarePattern;
    QString m_strHelpPath;
    CFirmwareSettings m_settings;
    QTimer m_progressTimer;
    QPointer<CProgramDlg> m_pProgramDlg;
    QPointer<CUpgradeDlg> m_pUpgradeDlg;
    QString m_strAllScenesPath;  // the all-scenes file waiting for the programs' read
    // Labels and group captions of the form, re-lettered when the language changes.
    std::vector<std::pair<CFontStatic*, TextId>> m_labelTexts;
    std::vector<std::pair<CSxGroupBox*, TextId>> m_groupTexts;

    // ---- controls (ids in the object names) -----------------------------------------
    CFStatic* m_pGraph = nullptr;                       // 1000
    QLabel* m_pLogo = nullptr;                           // 1970
    CFontStatic* m_pNameLabel = nullptr;                 // 1483
    QLineEdit* m_pSceneName = nullptr;                   // 1002
    std::array<CXPButton*, kOutputs> m_pSelect{};       // 8900 + i
    std::array<CTransparentStatic*, kOutputs> m_pDelayLabel{};  // 8960 + i
    std::array<CXPButton*, 4> m_pPosition{};             // 2066 + p
    CTransparentStatic* m_pPositionName = nullptr;       // 2072
    CEnTabCtrl* m_pTabFrame = nullptr;                   // 1368
    COutputDlg* m_pPage = nullptr;                       // 136, in the tab frame
    std::array<CXPButton*, kOutputs> m_pTag{};          // 6703 + i
    std::array<CSkinFader*, kOutputs> m_pLevelFader{};  // 8650 + i
    std::array<CNumEdit*, kOutputs> m_pLevelEdit{};     // 8630 + i
    std::array<CNumSpin*, kOutputs> m_pLevelSpin{};     // 8640 + i (hidden: holds the value)
    std::array<CXPButton*, kOutputs> m_pMute{};         // 6052 + i
    std::array<CXPButton*, kOutputs> m_pPolarity{};     // 1944 + i
    std::array<CXPButton*, kOutputs> m_pLine{};         // 2103 + i
    std::array<CXPButton*, 3> m_pPair{};                 // 2247 … 2249
    CXPButton* m_pLinkAll = nullptr;                     // 2250
    CXPButton* m_pDelayButton = nullptr;                 // 2246
    CSkinFader* m_pVolumeFader = nullptr;                // 2227
    CNumEdit* m_pVolumeEdit = nullptr;                   // 2225
    CNumSpin* m_pVolumeSpin = nullptr;                   // 2226 (hidden)
    CXPButton* m_pReset = nullptr;                       // 2228
    CrossoverControls m_highPass;                        // 5500 … 5503
    CrossoverControls m_lowPass;                         // 5510 … 5513
    CXPButton* m_pProgram = nullptr;                     // 8801
    CXPButton* m_pSystem = nullptr;                      // 8802
    CXPButton* m_pReport = nullptr;                      // 8803
    CXPButton* m_pAbout = nullptr;                       // 8804
    CXPButton* m_pConnect = nullptr;                     // 1413
    CGradientProgressCtrl* m_pProgress = nullptr;        // 1414
    CDisplayDlg* m_pDisplay = nullptr;                   // 104
    std::unique_ptr<CMsgBox> m_pMsgBox;
    std::unique_ptr<CFormPrompts> m_pFormPrompts;
    IUserPrompts* m_pPrompts = nullptr;
};
