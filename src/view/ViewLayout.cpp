// Builds the main form: every control with its id in its object name,
// placed in four areas (graph and header, equalizer page frame, output
// strip, positions and commands).
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "AppGlobals.h"
#include "CFStatic.h"
#include "CommitKeys.h"
#include "ControlName.h"
#include "DisplayDlg.h"
#include "EnTabCtrl.h"
#include "FontStatic.h"
#include "GradientProgressCtrl.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "MsgBox.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "QM7100View.h"
#include "SkinFader.h"
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
    CreateGraphArea();
    CreateHeader();
    CreateCrossover();
    CreateStrip();
    m_pDisplay = new CDisplayDlg(window(), m_pSession->m_bTransferRunning);
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
    m_pConnect = MakeButton(1413, kSkinConnect, 1130, 10);
    m_pProgress = new CGradientProgressCtrl(1414, this);
    m_pProgress->setGeometry(870, 62, 380, 10);
    m_pNameLabel = new CFontStatic(1483, Tr(kTxtGroupName), this);
    m_pNameLabel->setGeometry(870, 80, 60, 24);
    m_pSceneName = Named(new QLineEdit(this), 1002);
    m_pSceneName->setGeometry(934, 80, 316, 24);
    m_pSceneName->setReadOnly(true);
    m_pSceneName->setMaxLength(16);
}

CrossoverControls CQM7100View::MakeCrossover(int nBaseId, int nY)
{
    CrossoverControls controls;
    controls.pFreq = new CNumEdit(nBaseId, this);
    controls.pFreq->setGeometry(936, nY, 70, 22);
    controls.pSpin = new CNumSpin(nBaseId + 1, this);
    controls.pSpin->setGeometry(1006, nY, CNumSpin::kWidth, 22);
    controls.pSpin->SetBuddy(controls.pFreq);
    controls.pType = Named(new QComboBox(this), nBaseId + 2);
    controls.pType->setGeometry(1030, nY, 104, 22);
    controls.pType->addItems({"Link_Ril", "Bessel", "Butter_W"});
    controls.pSlope = Named(new QComboBox(this), nBaseId + 3);
    controls.pSlope->setGeometry(1140, nY, 100, 22);
    return controls;
}

void CQM7100View::CreateCrossover()
{
    AddGroupBox(kTxtCrossover, QRect(866, 110, 388, 156));
    AddLabel(kTxtFrequency, 936, 126, 86);
    AddLabel(kTxtType, 1030, 126, 104);
    AddLabel(kTxtSlope, 1140, 126, 100);
    AddLabel(kTxtHighPass, 874, 150, 60);
    m_highPass = MakeCrossover(5500, 148);
    AddLabel(kTxtLowPass, 874, 182, 60);
    m_lowPass = MakeCrossover(5510, 180);
    m_pReset = MakeButton(2228, kSkinReset, 1168, 216);
}

void CQM7100View::CreateStrip()
{
    AddGroupBox(kTxtChannels, QRect(8, kStripY, 736, 202));
    for (int i = 0; i < kOutputs; ++i)
        CreateChannel(i, 16 + i * kChannelPitch, kStripY + 18);
    for (int p = 0; p < 3; ++p)
        m_pPair[p] = MakeButton(2247 + p, kSkinPairLink + p * kSkinButtonStride, 106 + p * 2 * kChannelPitch, kStripY + 178);
    m_pLinkAll = MakeButton(2250, kSkinLinkAll, 650, kStripY + 178);
    CreateMusic(750, kStripY);
    CreateDelays(852, kStripY);
    CreateCommands(1048, kStripY);
}

void CQM7100View::CreateChannel(int i, int nX, int nY)
{
    m_pSelect[i] = MakeButton(8900 + i, kSkinChannelSelect + i * kSkinButtonStride, nX, nY);
    m_pTag[i] = MakeButton(6703 + i, kSkinChannelTag + i * kSkinButtonStride, nX + 70, nY + 3);
    m_pLevelFader[i] = new CSkinFader(8650 + i, this);
    m_pLevelFader[i]->move(nX, nY + 30);
    m_pLevelEdit[i] = new CNumEdit(8630 + i, this);
    m_pLevelEdit[i]->setGeometry(nX + 42, nY + 30, 52, 22);
    m_pLevelSpin[i] = new CNumSpin(8640 + i, this);
    m_pLevelSpin[i]->hide();
    m_pLevelSpin[i]->SetBuddy(m_pLevelEdit[i]);
    m_pMute[i] = MakeButton(6052 + i, kSkinMute, nX + 42, nY + 56);
    m_pPolarity[i] = MakeButton(1944 + i, kSkinPolarity, nX + 42, nY + 82);
    m_pLine[i] = MakeButton(2103 + i, kSkinLine, nX + 42, nY + 108);
    m_pDelayLabel[i] = new CTransparentStatic(8960 + i, this);
    m_pDelayLabel[i]->setGeometry(nX, nY + 140, 110, 16);
    m_pDelayLabel[i]->SetWordWrap(false);
}

void CQM7100View::CreateMusic(int nX, int nY)
{
    AddGroupBox(kTxtMusicVolume, QRect(nX - 4, nY, 98, 202));
    m_pVolumeFader = new CSkinFader(2227, this);
    m_pVolumeFader->move(nX + 18, nY + 18);
    m_pVolumeEdit = new CNumEdit(2225, this);
    m_pVolumeEdit->setGeometry(nX + 18, nY + 176, 52, 22);
    m_pVolumeSpin = new CNumSpin(2226, this);
    m_pVolumeSpin->hide();
    m_pVolumeSpin->SetBuddy(m_pVolumeEdit);
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
    for (int i = 0; i < kOutputs; ++i) {
        SetLevelField(m_pLevelEdit[i]);
        m_pLevelSpin[i]->SetRange(0, 60);
        m_pLevelFader[i]->SetBitmapChannel(kSkinLevelChannel, kSkinLevelChannelActive, false);
        m_pLevelFader[i]->SetBitmapThumb(kSkinLevelThumb, kSkinLevelThumbActive, true);
        m_pLevelFader[i]->SetRange(0, 60);
        m_pLevelFader[i]->SetMargin(21, 1, 1, 2);
    }
    SetLevelField(m_pVolumeEdit);
    m_pVolumeSpin->SetRange(0, 70);
    m_pVolumeFader->SetBitmapChannel(kSkinVolumeChannel, kSkinVolumeChannel, false);
    m_pVolumeFader->SetBitmapThumb(kSkinVolumeThumb, kSkinVolumeThumb, true);
    m_pVolumeFader->SetRange(0, 70);
    m_pVolumeFader->SetMargin(30, 1, 1, 2);
    for (CrossoverControls* pControls : {&m_highPass, &m_lowPass}) {
        pControls->pFreq->SetKind(8);
        pControls->pSpin->SetRange(20, 20000);
    }
    for (CXPButton* pButton : findChildren<CXPButton*>(QString(), Qt::FindDirectChildrenOnly))
        pButton->SetPressed(false);
    m_pTabFrame->SetBkgndColor(QColor(227, 228, 238));
    m_pTabFrame->SetDrawStyle(CEnTabCtrl::kDrawAll);
    m_pPage->setGeometry(m_pTabFrame->PageRect());
    m_pSceneName->setFont(ArialFont(16));
    m_pNameLabel->SetFontStyle(20, Qt::black, CFontStatic::kAlignLeft);
    ApplySlopeList();
}

void CQM7100View::ConnectHandlers()
{
    for (int i = 0; i < kOutputs; ++i)
        ConnectChannel(i);
    for (int p = 0; p < 4; ++p)
        connect(m_pPosition[p], &CXPButton::clicked, this, [this, p] { OnPosition(p); });
    for (int p = 0; p < 3; ++p)
        connect(m_pPair[p], &CXPButton::clicked, this, [this, p] { OnPairLink(p); });
    connect(m_pLinkAll, &CXPButton::clicked, this, &CQM7100View::OnLinkAll);
    connect(m_pVolumeEdit, &CNumEdit::Notify, this, &CQM7100View::OnVolumeEdit);
    connect(m_pVolumeSpin, &CNumSpin::Notify, this, &CQM7100View::OnVolumeEdit);
    connect(m_pVolumeFader, &CSkinFader::Moving, this, &CQM7100View::OnFaderMoved, Qt::QueuedConnection);
    connect(m_pVolumeFader, &CSkinFader::Moved, this, &CQM7100View::OnFaderMoved, Qt::QueuedConnection);
    connect(m_pReset, &CXPButton::clicked, this, &CQM7100View::OnReset);
    connect(m_pConnect, &CXPButton::clicked, this, &CQM7100View::OnConnect);
    connect(m_pProgram, &CXPButton::clicked, this, &CQM7100View::OnProgram);
    connect(m_pSystem, &CXPButton::clicked, this, &CQM7100View::OnSystem);
    connect(m_pReport, &CXPButton::clicked, this, &CQM7100View::OnReport);
    connect(m_pDelayButton, &CXPButton::clicked, this, &CQM7100View::OnDelayManager);
    connect(m_pAbout, &CXPButton::clicked, this, &CQM7100View::OnAbout);
    connect(&m_progressTimer, &QTimer::timeout, this, &CQM7100View::UpdateProgress);
    connect(m_pGraph, &CFStatic::BandChanged, this, &CQM7100View::OnGraphBand, Qt::QueuedConnection);
    connect(m_pGraph, &CFStatic::LoadMeasurementRequested, this, &CQM7100View::LoadMeasurement);
    connect(m_pGraph, &CFStatic::ClearMeasurementRequested, this, &CQM7100View::ClearMeasurement);
    connect(m_pGraph, &CFStatic::ImportFiltersRequested, this, &CQM7100View::ImportFilters);
    connect(m_pGraph, &CFStatic::FitRequested, this, &CQM7100View::FitToMeasurement);
    connect(m_pGraph, &CFStatic::ExportFiltersRequested, this, &CQM7100View::ExportFilters);
    ConnectCrossover();
}

void CQM7100View::ConnectChannel(int i)
{
    auto select = [this, i] {
        if (i != m_nCurChannel)
            SelectChannel(i);
    };
    connect(m_pSelect[i], &CXPButton::clicked, this, select);
    connect(m_pTag[i], &CXPButton::clicked, this, select);
    connect(m_pMute[i], &CXPButton::clicked, this, [this, i] { OnMute(i); });
    connect(m_pPolarity[i], &CXPButton::clicked, this, [this, i] { OnPolarity(i); });
    connect(m_pLine[i], &CXPButton::clicked, this, [this, i] { OnLine(i); });
    connect(m_pLevelEdit[i], &CNumEdit::Notify, this, [this, i] { OnLevelEdit(i); });
    connect(m_pLevelSpin[i], &CNumSpin::Notify, this, [this, i] { OnLevelEdit(i); });
    connect(m_pLevelFader[i], &CSkinFader::Moving, this, &CQM7100View::OnFaderMoved, Qt::QueuedConnection);
    connect(m_pLevelFader[i], &CSkinFader::Moved, this, &CQM7100View::OnFaderMoved, Qt::QueuedConnection);
}

void CQM7100View::ConnectCrossover()
{
    connect(m_highPass.pFreq, &CNumEdit::Notify, this, &CQM7100View::OnHighPassFreq);
    connect(m_highPass.pSpin, &CNumSpin::Notify, this, &CQM7100View::OnHighPassFreq);
    connect(m_lowPass.pFreq, &CNumEdit::Notify, this, &CQM7100View::OnLowPassFreq);
    connect(m_lowPass.pSpin, &CNumSpin::Notify, this, &CQM7100View::OnLowPassFreq);
    connect(m_highPass.pType, &QComboBox::activated, this, [this] { OnCrossoverType(true); });
    connect(m_lowPass.pType, &QComboBox::activated, this, [this] { OnCrossoverType(false); });
    connect(m_highPass.pSlope, &QComboBox::activated, this, [this] { OnCrossoverSlope(true); });
    connect(m_lowPass.pSlope, &QComboBox::activated, this, [this] { OnCrossoverSlope(false); });
}
