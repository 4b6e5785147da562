// Construction of the output page: the controls of the 31 band columns,
// the two page-wide buttons and the two background pictures.
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ControlName.h"
#include "AppGlobals.h"
#include "DataDefine.h"
#include "FontStatic.h"
#include "GlobalData.h"
#include "NumEdit.h"
#include "NumKinds.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "SkinColors.h"
#include "SkinFader.h"
#include "SkinIds.h"
#include "Strings.h"
#include "XPButton.h"

namespace {

// Pixel layout of the 1244 × 238 page: a button row, then per band column
// the number, three field rows, the fader and the bypass button.
constexpr int kMarginX = 2;
constexpr int kTopRowY = 3;
constexpr int kModeX = 4;
constexpr int kAllBypassX = 72;
constexpr int kLegendX = 180;
constexpr int kLabelY = 30;
constexpr int kLabelHeight = 15;
constexpr int kRowY[COutputDlg::kRows] = {47, 67, 87};
constexpr int kFieldHeight = 18;
// "20000" must fit: a narrow face in a 30 px field, the spin beside it.
constexpr int kFieldWidth = 30;
constexpr int kSpinWidth = 9;
constexpr int kFieldPixels = 12;
constexpr int kLabelPixels = 12;
constexpr int kFaderY = 109;
constexpr int kFaderX = 7;
constexpr int kBypassY = 207;
constexpr int kBypassX = 4;

constexpr int kGainStepCodes = 400;
constexpr double kGainStep = 0.1;
constexpr double kGainOffset = 20.0;

QString Text(const TextPair& pair, bool bChinese)
{
    return QString::fromUtf8(bChinese ? pair.szChinese : pair.szEnglish);
}

int ColumnX(int i)
{
    return kMarginX + i * COutputDlg::kColumnWidth;
}

QFont FieldFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFieldPixels);
    return font;
}

}  // namespace

COutputDlg::COutputDlg(QWidget* pParent)
    : QWidget(pParent)
{
    setObjectName(ControlName(kPageId));
    setFocusPolicy(Qt::NoFocus);
    resize(kPageWidth, kPageHeight);
    CreateTopRow();
    for (int i = 0; i < kBands; ++i)
        CreateBand(i);
    m_layout.Record(this);
    ApplyTexts();
    WatchKeys();
    ClearMarks();
    hide();
}

void COutputDlg::CreateTopRow()
{
    m_pMode = new CXPButton(kIdMode, this);
    m_pMode->move(kModeX, kTopRowY);
    m_pMode->SetSkin(kSkinEqMode);
    connect(m_pMode, &CXPButton::clicked, this, &COutputDlg::OnMode);
    m_pAllBypass = new CXPButton(kIdAllBypass, this);
    m_pAllBypass->move(kAllBypassX, kTopRowY);
    m_pAllBypass->SetSkin(kSkinAllBypass);
    connect(m_pAllBypass, &CXPButton::clicked, this, &COutputDlg::OnAllBypass);
}

void COutputDlg::CreateBand(int i)
{
    BandControls& band = m_band[static_cast<size_t>(i)];
    band.pLabel = new CFontStatic(kIdLabel + i, QString::number(i + 1), this);
    band.pLabel->SetFontStyle(kLabelPixels, Qt::black, CFontStatic::kAlignCentre);
    band.pLabel->setGeometry(ColumnX(i), kLabelY, kColumnWidth, kLabelHeight);
    CreateField(i, kRowFreq, kIdFreqEdit + i, kIdFreqSpin + i);
    CreateField(i, kRowQ, kIdQEdit + i, kIdQSpin + i);
    CreateField(i, kRowGain, kIdGainEdit + i, kIdGainSpin + i);
    SetUpRanges(band);
    CreateFader(i);
    band.pBypass = new CXPButton(kIdBypass + i, this);
    band.pBypass->move(ColumnX(i) + kBypassX, kBypassY);
    band.pBypass->SetSkin(kSkinBypass);
    connect(band.pBypass, &CXPButton::clicked, this, [this, i] { OnBypass(i); });
}

void COutputDlg::CreateField(int i, Row row, int nEditId, int nSpinId)
{
    BandControls& band = m_band[static_cast<size_t>(i)];
    auto* pField = new CNumEdit(nEditId, this);
    auto* pSpin = new CNumSpin(nSpinId, this);
    pField->setFont(FieldFont());
    pField->setFrame(false);
    pField->setAlignment(Qt::AlignCenter);
    pField->setGeometry(ColumnX(i), kRowY[row], kFieldWidth, kFieldHeight);
    pSpin->setFixedSize(kSpinWidth, kFieldHeight);
    pSpin->move(ColumnX(i) + kFieldWidth, kRowY[row]);
    pSpin->SetBuddy(pField);
    band.pField[row] = pField;
    band.pSpin[row] = pSpin;
    using Handler = void (COutputDlg::*)(int);
    constexpr Handler kHandlers[kRows] = {&COutputDlg::OnFrequency, &COutputDlg::OnQ, &COutputDlg::OnGain};
    const Handler handler = kHandlers[row];
    connect(pField, &CNumEdit::Notify, this, handler);
    connect(pSpin, &CNumSpin::Notify, this, handler);
}

void COutputDlg::SetUpRanges(BandControls& band)
{
    // The kind first: the spin reads it when it takes its range, and the
    // frequency spin steps along the frequency table only for kind 4.
    band.pField[kRowFreq]->SetKind(CNumKinds::kInteger);
    band.pSpin[kRowFreq]->SetRange(kMinFreq, kMaxFreq);
    band.pField[kRowQ]->SetKind(CNumKinds::kQ);
    band.pSpin[kRowQ]->SetRange(0, kBandwidthCodeMax);
    band.pField[kRowGain]->SetKind(CNumKinds::kGain);
    band.pField[kRowGain]->SetStep(kGainStep);
    band.pField[kRowGain]->SetOffset(kGainOffset);
    band.pSpin[kRowGain]->SetRange(0, kGainStepCodes);
}

void COutputDlg::CreateFader(int i)
{
    auto* pFader = new CSkinFader(kIdFader + i, this);
    pFader->SetBitmapChannel(kSkinOutFaderChannel, kSkinOutFaderChannel, false);
    pFader->SetBitmapThumb(kSkinOutFaderThumb, kSkinOutFaderThumb, true, CSkinFader::kMaskFromPixel, 0, 0);
    pFader->SetRange(0, kGainCodeMax, true);
    pFader->SetMargin(4, 1, 1, 2);
    pFader->move(ColumnX(i) + kFaderX, kFaderY);
    connect(pFader, &CSkinFader::Moving, this, [this](int nId, int nPos) { OnFader(nId, nPos, true); });
    connect(pFader, &CSkinFader::Moved, this, [this](int nId, int nPos) { OnFader(nId, nPos, false); });
    m_band[static_cast<size_t>(i)].pFader = pFader;
}

// The row captions live in tooltips and in the legend of the background.
void COutputDlg::ApplyTexts()
{
    const QString strCaption[kRows] = {Tr(kTxtFrequency) + QStringLiteral(" (Hz)"), Tr(kTxtQ),
                                       Tr(kTxtGain) + QStringLiteral(" (dB)")};
    for (int i = 0; i < kBands; ++i) {
        BandControls& band = m_band[static_cast<size_t>(i)];
        const QString strBand = QStringLiteral(" %1").arg(i + 1);
        for (int row = 0; row < kRows; ++row) {
            band.pField[row]->setToolTip(strCaption[row] + strBand);
            band.pSpin[row]->setToolTip(strCaption[row] + strBand);
        }
        band.pFader->setToolTip(strCaption[kRowGain] + strBand);
    }
}

void COutputDlg::WatchKeys()
{
    for (BandControls& band : m_band) {
        for (CNumEdit* pField : band.pField)
            pField->installEventFilter(this);
        band.pFader->installEventFilter(this);
        band.pBypass->installEventFilter(this);
    }
    m_pMode->installEventFilter(this);
    m_pAllBypass->installEventFilter(this);
}

// A wider page gives each column an equal share of the extra width; a
// column's controls keep their size and sit in the middle of its share.
void COutputDlg::ApplyFit(const CFormFit& fit, const QSize& szBase)
{
    m_dScale = fit.dScale;
    m_szBase = szBase;
    m_dColumnExtra = std::max(0.0, (width() / fit.dScale - szBase.width()) / kBands);
    m_layout.Apply(fit, [this](QWidget*, const QRect& rcBase) {
        if (rcBase.top() < kLabelY)
            return rcBase;
        const int i = std::clamp((rcBase.left() - kMarginX) / kColumnWidth, 0, kBands - 1);
        return rcBase.translated(static_cast<int>(std::lround(m_dColumnExtra * (i + 0.5))), 0);
    });
    m_pixBackground = {};
    update();
}

QRect COutputDlg::ColumnCell(int i) const
{
    const int nLeft = ColumnX(i) + static_cast<int>(std::lround(m_dColumnExtra * i));
    const int nRight = ColumnX(i + 1) + static_cast<int>(std::lround(m_dColumnExtra * (i + 1)));
    return QRect(nLeft, kLabelY - 2, nRight - nLeft, kPageHeight - kLabelY + 2);
}

// At the form's own size the picture of the page's layout size is drawn
// over the whole page, as it always was; at any other it is painted at the
// page's size.
QPixmap COutputDlg::PaintBackground(bool bChinese) const
{
    const bool bBase = m_dScale == 1.0 && size() == m_szBase;
    QPixmap pix(bBase ? QSize(kPageWidth, kPageHeight) : size());
    QPainter painter(&pix);
    const double dScale = bBase ? 1.0 : m_dScale;
    painter.scale(dScale, dScale);
    const int nWidth = static_cast<int>(std::ceil(pix.width() / dScale));
    const int nHeight = static_cast<int>(std::ceil(pix.height() / dScale));
    QLinearGradient gradient(0, 0, 0, nHeight);
    gradient.setColorAt(0.0, QColor(SkinColors::kFormTop));
    gradient.setColorAt(1.0, QColor(SkinColors::kFormBottom));
    painter.fillRect(0, 0, nWidth, nHeight, gradient);
    // Every other column a shade darker, so a band's controls read as one.
    const QColor crStripe = QColor(SkinColors::kFormBottom).darker(106);
    for (int i = 1; i < kBands; i += 2)
        painter.fillRect(ColumnCell(i).adjusted(0, 0, 0, nHeight - kPageHeight), crStripe);
    painter.setPen(QColor(SkinColors::kHeaderBottom));
    painter.setFont(ArialFont(kLabelPixels));
    const QString strLegend = Text(TextOf(kTxtFrequency), bChinese) + QStringLiteral(" (Hz)  /  ")
                              + Text(TextOf(kTxtQ), bChinese) + QStringLiteral("  /  ")
                              + Text(TextOf(kTxtGain), bChinese) + QStringLiteral(" (dB)");
    painter.drawText(QRect(kLegendX, kTopRowY, nWidth - kLegendX - kMarginX, 24),
                     Qt::AlignLeft | Qt::AlignVCenter, strLegend);
    return pix;
}
