#include "RoomFitDlg.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSpinBox>

#include "ControlName.h"
#include "RoomFitJob.h"
#include "TransparentStatic.h"

namespace {

constexpr int kWidthDlu = 244;
constexpr int kHeightDlu = 156;
constexpr int kLabelX = 10;
constexpr int kLabelWidth = 94;
constexpr int kFieldX = 106;
constexpr int kFieldWidth = 50;
constexpr int kRowHeight = 13;
constexpr int kRangeY = 10;
constexpr int kBandsY = 28;
constexpr int kBoostY = 46;
constexpr int kCutY = 64;
constexpr int kTargetY = 82;
constexpr int kBeforeY = 104;
constexpr int kAfterY = 118;
constexpr int kButtonY = 136;
constexpr double kDecibelStep = 0.5;

// Crossover plus the fitted bands, as the graph sums an output's curve.
AxisResponse FittedCurve(const AxisResponse& crossover, const std::vector<MappedBand>& bands)
{
    AxisResponse curve = crossover;
    AxisResponse band{};
    for (const MappedBand& fitted : bands) {
        PeakingResponse(fitted.nFreq, CodeToGain(fitted.nGainCode), CodeToBandwidth(fitted.nBandwidthCode), band);
        for (size_t i = 0; i < curve.size(); ++i)
            curve[i] += band[i];
    }
    return curve;
}

QString ResidualText(TextId text, const RoomResidual& residual)
{
    return Tr(text).arg(residual.dRmsDb, 0, 'f', 1).arg(residual.dMaxDb, 0, 'f', 1);
}

}  // namespace

CRoomFitDlg::CRoomFitDlg(QWidget* pParent, const RoomFitInput& input, RoomFitDlgHost host)
    : CFormDialog(pParent, QStringLiteral("RoomFit"), kSansSerifUnits.X(kWidthDlu), kSansSerifUnits.Y(kHeightDlu),
                  CCommitKeys::Escape::kCloses),
      m_input(input),
      m_host(std::move(host))
{
    setWindowTitle(Tr(kTxtFitTitle));
    CreateFields();
    CreateButtons();
    Refit();
}

CRoomFitDlg::~CRoomFitDlg()
{
    CancelFit();
}

void CRoomFitDlg::CreateFields()
{
    AddLabel(kTxtFitRange, kRangeY);
    m_pLow = AddWhole(kIdLow, kMinFreq, kMaxFreq, static_cast<int>(m_input.dLowHz),
                      kSansSerifUnits.Rect(kFieldX, kRangeY, kFieldWidth, kRowHeight));
    m_pHigh = AddWhole(kIdHigh, kMinFreq, kMaxFreq, static_cast<int>(m_input.dHighHz),
                       kSansSerifUnits.Rect(kFieldX + kFieldWidth + 8, kRangeY, kFieldWidth, kRowHeight));
    AddLabel(kTxtFitBands, kBandsY);
    m_pBands = AddWhole(kIdBands, 1, kRoomFitMaxBands, m_input.nBands,
                        kSansSerifUnits.Rect(kFieldX, kBandsY, kFieldWidth, kRowHeight));
    AddLabel(kTxtFitMaxBoost, kBoostY);
    m_pBoost = AddDecibels(kIdBoost, 0.0, 20.0, m_input.dMaxBoostDb, kBoostY);
    AddLabel(kTxtFitMaxCut, kCutY);
    m_pCut = AddDecibels(kIdCut, -20.0, 0.0, m_input.dMaxCutDb, kCutY);
    AddLabel(kTxtFitTarget, kTargetY);
    m_pTarget = new CTransparentStatic(kIdTarget, Tr(kTxtFitFlat), this);
    m_pTarget->setGeometry(kSansSerifUnits.Rect(kFieldX, kTargetY, kFieldWidth, kRowHeight));
    m_pTarget->SetElideMode(Qt::ElideMiddle);
    m_pTarget->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pBefore = new CTransparentStatic(kIdBefore, this);
    m_pBefore->setGeometry(kSansSerifUnits.Rect(kLabelX, kBeforeY, kWidthDlu - 2 * kLabelX, kRowHeight));
    m_pAfter = new CTransparentStatic(kIdAfter, this);
    m_pAfter->setGeometry(kSansSerifUnits.Rect(kLabelX, kAfterY, kWidthDlu - 2 * kLabelX, kRowHeight));
}

void CRoomFitDlg::CreateButtons()
{
    const int nSmall = (kWidthDlu - kFieldX - kFieldWidth - 2 * kLabelX) / 2;
    QPushButton* pFile = AddButton(kIdTargetFile, kTxtFitTargetFile,
                                   kSansSerifUnits.Rect(kFieldX + kFieldWidth + 4, kTargetY, nSmall, kRowHeight));
    QPushButton* pFlat = AddButton(kIdFlat, kTxtFitFlat,
                                   kSansSerifUnits.Rect(kFieldX + kFieldWidth + 8 + nSmall, kTargetY, nSmall, kRowHeight));
    m_pApply = AddButton(kIdApply, kTxtFitApply, kSansSerifUnits.Rect(kWidthDlu / 2 - 64, kButtonY, 56, 14));
    QPushButton* pCancel = AddButton(kIdCancel, kTxtFitCancel, kSansSerifUnits.Rect(kWidthDlu / 2 + 8, kButtonY, 56, 14));
    connect(pFile, &QPushButton::clicked, this, &CRoomFitDlg::OnTargetFile);
    connect(pFlat, &QPushButton::clicked, this, &CRoomFitDlg::OnFlat);
    connect(m_pApply, &QPushButton::clicked, this, [this] {
        if (!m_host.mayApply || m_host.mayApply())
            accept();
    });
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CRoomFitDlg::AddLabel(TextId text, int y)
{
    auto* pLabel = new CTransparentStatic(-1, Tr(text), this);
    pLabel->setGeometry(kSansSerifUnits.Rect(kLabelX, y, kLabelWidth, kRowHeight));
    pLabel->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSpinBox* CRoomFitDlg::AddWhole(int nId, int nLow, int nHigh, int nValue, const QRect& rect)
{
    auto* pSpin = new QSpinBox(this);
    pSpin->setObjectName(ControlName(nId));
    pSpin->setRange(nLow, nHigh);
    pSpin->setValue(nValue);
    pSpin->setGeometry(rect);
    connect(pSpin, &QSpinBox::valueChanged, this, &CRoomFitDlg::Refit);
    return pSpin;
}

QDoubleSpinBox* CRoomFitDlg::AddDecibels(int nId, double dLow, double dHigh, double dValue, int y)
{
    auto* pSpin = new QDoubleSpinBox(this);
    pSpin->setObjectName(ControlName(nId));
    pSpin->setRange(dLow, dHigh);
    pSpin->setDecimals(1);
    pSpin->setSingleStep(kDecibelStep);
    pSpin->setValue(dValue);
    pSpin->setGeometry(kSansSerifUnits.Rect(kFieldX, y, kFieldWidth, kRowHeight));
    connect(pSpin, &QDoubleSpinBox::valueChanged, this, &CRoomFitDlg::Refit);
    return pSpin;
}

void CRoomFitDlg::Refit()
{
    CancelFit();
    m_input.dLowHz = m_pLow->value();
    m_input.dHighHz = m_pHigh->value();
    m_input.nBands = m_pBands->value();
    m_input.dMaxBoostDb = m_pBoost->value();
    m_input.dMaxCutDb = m_pCut->value();
    m_result = {};
    m_job = CRoomFitJob::Start(m_input, this, [this](const RoomFitResult& result) { OnFitted(result); });
    ShowResult();
}

void CRoomFitDlg::CancelFit()
{
    if (m_job)
        m_job->Cancel();
    m_job.reset();
}

void CRoomFitDlg::OnFitted(const RoomFitResult& result)
{
    m_job.reset();
    m_result = result;
    if (m_result.status == RoomFitStatus::Done && m_host.showPreview)
        m_host.showPreview(FittedCurve(m_input.crossover, m_result.bands));
    else if (m_host.clearPreview)
        m_host.clearPreview();
    ShowResult();
}

void CRoomFitDlg::ShowResult()
{
    const bool bDone = m_result.status == RoomFitStatus::Done;
    m_pApply->setEnabled(bDone && !m_job);
    m_pBefore->SetText(bDone ? ResidualText(kTxtFitBefore, m_result.before) : QString());
    if (m_job)
        m_pAfter->SetText(Tr(kTxtFitRunning));
    else
        m_pAfter->SetText(bDone ? ResidualText(kTxtFitAfter, m_result.after) : QString::fromStdString(m_result.strError));
}

void CRoomFitDlg::OnTargetFile()
{
    const QString strPath = m_host.askTargetFile ? m_host.askTargetFile() : QString();
    if (strPath.isEmpty())
        return;
    std::string strError;
    if (!m_input.target.Load(QFile::encodeName(strPath).toStdString(), &strError)) {
        if (m_host.showMessage)
            m_host.showMessage(QString::fromStdString(strError));
        return;
    }
    m_pTarget->SetText(QFileInfo(strPath).fileName());
    Refit();
}

void CRoomFitDlg::OnFlat()
{
    m_input.target.SetFlat();
    m_pTarget->SetText(Tr(kTxtFitFlat));
    Refit();
}

void CRoomFitDlg::done(int nResult)
{
    CancelFit();
    if (m_host.clearPreview)
        m_host.clearPreview();
    CFormDialog::done(nResult);
}
