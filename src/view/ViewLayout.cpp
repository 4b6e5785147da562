// Builds the main form: every control with its id in its object name,
// placed in four areas (graph and header, equalizer page frame, output
// strip, positions and commands).
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "AppGlobals.h"
#include "ChannelStrip.h"
#include "ConnectionPanel.h"
#include "CrossoverPanel.h"
#include "PresetFileCommands.h"
#include "RoomTuning.h"
#include "CFStatic.h"
#include "CommitKeys.h"
#include "ControlName.h"
#include "EnTabCtrl.h"
#include "FontStatic.h"
#include "KTV_Data.h"
#include "MsgBox.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "QM7100View.h"
#include "SkinIds.h"
#include "Strings.h"
#include "SxGroupBox.h"
#include "TransparentStatic.h"
#include "XPButton.h"

namespace {
template <typename T>
T* Named(T* pWidget, int nId)
{
    pWidget->setObjectName(ControlName(nId));
    return pWidget;
}

constexpr int kStripY = 520;
constexpr int kChannelPitch = 120;
}  // namespace

void CQM7100View::AddLabel(TextId text, int nX, int nY, int nWidth)
{
    auto* pLabel = new CFontStatic(-1, Tr(text), this);
    pLabel->SetFontStyle(12, QColor(0x30, 0x34, 0x40), CFontStatic::kAlignLeft);
    pLabel->setGeometry(nX, nY, nWidth, 18);
    m_labelTexts.push_back({pLabel, text});
}

void CQM7100View::AddGroupBox(TextId caption, const QRect& rect)
{
    auto* pBox = new CSxGroupBox(-1, Tr(caption), this);
    pBox->setGeometry(rect);
    pBox->lower();  // behind the controls placed over it
    m_groupTexts.push_back({pBox, caption});
}

CXPButton* CQM7100View::MakeButton(int nId, int nSkin, int nX, int nY)
{
    auto* pButton = new CXPButton(nId, this);
    pButton->move(nX, nY);
    pButton->SetSkin(nSkin);
    return pButton;
}

void CQM7100View::CreateControls()
{
    m_pStrip = new CChannelStrip(m_processor, *this);
    m_pCrossover = new CCrossoverPanel(m_processor, *this);
    m_pFiles = std::make_unique<CPresetFileCommands>(m_processor, *this);
    m_pRoom = new CRoomTuning(m_processor, *this);
    m_pConnection = new CConnectionPanel(m_processor, this, [this] { return ProgressOwner(); });
    CreateGraphArea();
    CreateHeader();
    m_pCrossover->CreateControls(866, 110);
    m_pStrip->CreateControls(8, kStripY);
    CreateDelays(852, kStripY);
    CreateCommands(1048, kStripY);
    m_pMsgBox = std::make_unique<CMsgBox>();
    // Enter and Esc as in the dialogs; the page handles its own keys (Enter
    // moves down a band's column) and has no Tab or click rule of the form's.
    CCommitKeys::Install(*this, *m_pPage);
    for (QWidget* pChild : findChildren<QWidget*>())
        if (pChild != m_pPage && !m_pPage->isAncestorOf(pChild))
            pChild->installEventFilter(this);
    ConnectHandlers();
}

void CQM7100View::CreateGraphArea()
{
    m_pGraph = new CFStatic(1000, this);
    m_pGraph->setGeometry(10, 8, 850, 258);
    m_pGraph->AttachModel(&m_data);
    m_pTabFrame = new CEnTabCtrl(1368, this);
    m_pTabFrame->setGeometry(4, 270, 1252, 246);
    // Enter or Esc on the page hands the focus to the frame, and so to the form.
    m_pTabFrame->setFocusProxy(this);
    m_pPage = new COutputDlg(m_pTabFrame);
    m_pPage->ShowPage(false);
}

void CQM7100View::CreateHeader()
{
    m_pLogo = Named(new QLabel(this), 1970);
    m_pLogo->setGeometry(870, 8, 190, 48);
    QPixmap logo;
    if (QFile::exists(m_strLogoPath) && logo.load(m_strLogoPath))
        m_pLogo->setPixmap(logo.scaled(m_pLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_pConnection->CreateControls(870, 8);
    m_pNameLabel = new CFontStatic(1483, Tr(kTxtGroupName), this);
    m_pNameLabel->setGeometry(870, 80, 60, 24);
    m_pSceneName = Named(new QLineEdit(this), 1002);
    m_pSceneName->setGeometry(934, 80, 316, 24);
    m_pSceneName->setReadOnly(true);
    m_pSceneName->setMaxLength(16);
}

void CQM7100View::CreateDelays(int nX, int nY)
{
    AddGroupBox(kTxtListening, QRect(nX - 4, nY, 194, 202));
    for (int p = 0; p < 4; ++p)
        m_pPosition[p] = MakeButton(2066 + p, kSkinPosition + p * kSkinButtonStride, nX + 8 + p * 42, nY + 24);
    m_pPositionName = new CTransparentStatic(2072, this);
    m_pPositionName->setGeometry(nX + 8, nY + 56, 170, 18);
    m_pPositionName->SetWordWrap(false);
    m_pDelayButton = MakeButton(2246, kSkinDelay, nX + 8, nY + 84);
    // Under each output of the strip, its delay at the position shown.
    for (int i = 0; i < kOutputs; ++i) {
        m_pDelayLabel[i] = new CTransparentStatic(8960 + i, this);
        m_pDelayLabel[i]->setGeometry(16 + i * kChannelPitch, kStripY + 158, 110, 16);
        m_pDelayLabel[i]->SetWordWrap(false);
    }
}

void CQM7100View::CreateCommands(int nX, int nY)
{
    m_pProgram = MakeButton(8801, kSkinProgram, nX + 4, nY + 24);
    m_pSystem = MakeButton(8802, kSkinSystem, nX + 104, nY + 24);
    m_pReport = MakeButton(8803, kSkinReport, nX + 4, nY + 60);
    m_pAbout = MakeButton(8804, kSkinAbout, nX + 104, nY + 60);
}

// Levels and the music volume are shown in dB (index − 60, index 0 "OFF"):
// a field showing the bare index would also step it along the frequency
// table, 1 to 3 dB at a press.
void CQM7100View::SetLevelField(CNumEdit* pEdit)
{
    pEdit->SetKind(25);
    pEdit->SetStep(1.0);
    pEdit->SetOffset(60.0);
    pEdit->setMaxLength(6);
}

void CQM7100View::SetUpControls()
{
    m_pStrip->SetUpControls();
    m_pCrossover->SetUpControls();
    for (CXPButton* pButton : findChildren<CXPButton*>(QString(), Qt::FindDirectChildrenOnly))
        pButton->SetPressed(false);
    m_pTabFrame->SetBkgndColor(QColor(227, 228, 238));
    m_pTabFrame->SetDrawStyle(CEnTabCtrl::kDrawAll);
    m_pPage->setGeometry(m_pTabFrame->PageRect());
    m_pSceneName->setFont(ArialFont(16));
    m_pNameLabel->SetFontStyle(20, Qt::black, CFontStatic::kAlignLeft);
}

void CQM7100View::ConnectHandlers()
{
    for (int p = 0; p < 4; ++p)
        connect(m_pPosition[p], &CXPButton::clicked, this, [this, p] { OnPosition(p); });
    connect(m_pProgram, &CXPButton::clicked, this, &CQM7100View::OnProgram);
    connect(m_pSystem, &CXPButton::clicked, this, &CQM7100View::OnSystem);
    connect(m_pReport, &CXPButton::clicked, this, &CQM7100View::OnReport);
    connect(m_pDelayButton, &CXPButton::clicked, this, &CQM7100View::OnDelayManager);
    connect(m_pAbout, &CXPButton::clicked, this, &CQM7100View::OnAbout);
    connect(m_pConnection->Button(), &CXPButton::clicked, this, &CQM7100View::OnConnect);
    connect(m_pGraph, &CFStatic::BandChanged, this, &CQM7100View::OnGraphBand, Qt::QueuedConnection);
    m_pRoom->ConnectGraph(m_pGraph);
}
