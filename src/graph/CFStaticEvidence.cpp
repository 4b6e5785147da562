// The graph's evidence for tuning: phase and group delay views, the sum of
// chosen outputs, a kept tuning A with the difference B − A, and several
// microphone positions with their spread. Its controls are in the context
// menu and, while any of it is on, in a small row in the plot's top right
// corner; with all of it off the graph looks as it always did.
#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPolygonF>
#include <QToolButton>

#include "CFStatic.h"
#include "DataDefine.h"
#include "KTV_Data.h"
#include "Strings.h"

namespace {

constexpr QRgb kSumColour = qRgb(255, 255, 255);
constexpr QRgb kDifferenceColour = qRgb(255, 220, 0);
const QColor kSpreadColour(150, 150, 150, 70);
constexpr double kSumWidth = 2.0;
constexpr double kAWidth = 1.0;
constexpr double kDifferenceWidth = 2.0;
constexpr int kRowMargin = 3;
constexpr int kRowFontPixels = 11;
constexpr std::array<TextId, kResponseViews> kViewTexts = {kTxtMagnitude, kTxtPhase, kTxtGroupDelay};

const char* const kRowStyle =
    "QToolButton { color: rgb(200,200,200); background: rgb(10,30,10); border: 1px solid rgb(0,180,0);"
    " padding: 0px 4px; }"
    "QToolButton:checked { background: rgb(0,90,0); color: white; }"
    "QToolButton:disabled { color: rgb(90,90,90); }";

QToolButton* RowButton(QWidget* pRow, bool bCheckable)
{
    auto* pButton = new QToolButton(pRow);
    pButton->setCheckable(bCheckable);
    pButton->setFocusPolicy(Qt::NoFocus);
    pRow->layout()->addWidget(pButton);
    return pButton;
}

}  // namespace

void CFStatic::SetView(ResponseView view)
{
    m_view = view;
    UpdateEvidenceRow();
    Redraw(m_nShownBand);
}

void CFStatic::SetSumMember(int nChannel, bool bOn)
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return;
    m_sumMembers[static_cast<size_t>(nChannel)] = bOn;
    m_advice.reset();
    Redraw(m_nShownBand);
}

bool CFStatic::IsSumMember(int nChannel) const
{
    return nChannel >= 0 && nChannel < kOutputs && m_sumMembers[static_cast<size_t>(nChannel)];
}

std::vector<int> CFStatic::SumMembers() const
{
    std::vector<int> members;
    for (int i = 0; i < kOutputs; ++i)
        if (m_sumMembers[static_cast<size_t>(i)])
            members.push_back(i);
    return members;
}

void CFStatic::ShowSum(bool bOn)
{
    m_bShowSum = bOn;
    m_advice.reset();
    UpdateEvidenceRow();
    Redraw(m_nShownBand);
}

std::vector<SumMember> CFStatic::ChainsOfSum()
{
    std::vector<SumMember> members;
    for (const int i : SumMembers()) {
        const CRoomCurve& room = m_room[static_cast<size_t>(i)];
        members.push_back({OutputChainOf(*m_pData, i), room.IsEmpty() ? nullptr : &room});
    }
    return members;
}

SumResult CFStatic::CurrentSum()
{
    return SumChains(ChainsOfSum());
}

void CFStatic::AdviseAlignment()
{
    if (!m_pData || SumMembers().size() != 2)
        return;
    const std::vector<SumMember> pair = ChainsOfSum();
    m_advice = ::AdviseAlignment(pair[0], pair[1]);
    Redraw(m_nShownBand);
}

void CFStatic::ApplyAdvice()
{
    const std::vector<int> members = SumMembers();
    if (!m_advice || members.size() != 2)
        return;
    const AlignAdvice advice = *m_advice;
    m_advice.reset();
    emit ApplyAdviceRequested(members[static_cast<size_t>(advice.nMember)], advice.nDelayCode, members[1],
                              advice.bInvertSecond);
    Redraw(m_nShownBand);
}

void CFStatic::KeepAsA()
{
    if (m_pData)
        SetA(SnapshotOf(*m_pData));
}

void CFStatic::SetA(const TuningSnapshot& a)
{
    m_a = a;
    m_bHasA = true;
    UpdateEvidenceRow();
    Redraw(m_nShownBand);
}

void CFStatic::ClearA()
{
    m_bHasA = false;
    m_bShowDiff = false;
    UpdateEvidenceRow();
    Redraw(m_nShownBand);
}

void CFStatic::ShowDifference(bool bOn)
{
    m_bShowDiff = bOn;
    UpdateEvidenceRow();
    Redraw(m_nShownBand);
}

AxisResponse CFStatic::Difference()
{
    AxisResponse diff{};
    if (m_pData && m_bHasA)
        DifferenceValues(m_view, OutputResponseOf(*m_pData, m_nChannel), m_a[static_cast<size_t>(m_nChannel)], diff);
    return diff;
}

bool CFStatic::AddPosition(int nChannel, const std::vector<MeasurementPoint>& points, std::string* pError)
{
    return LoadPositions(nChannel, Positions{points}, true, pError);
}

bool CFStatic::LoadPositions(int nChannel, const Positions& added, bool bJoin, std::string* pError)
{
    if (nChannel < 0 || nChannel >= kOutputs || added.empty())
        return false;
    Positions positions = bJoin ? m_positions[static_cast<size_t>(nChannel)] : Positions();
    positions.insert(positions.end(), added.begin(), added.end());
    // One position is its own average, phase and all.
    std::vector<MeasurementPoint> average = positions.front();
    CRoomCurve curve;
    if ((positions.size() > 1 && !PowerAverage(positions, &average, pError)) || !curve.Assign(average, pError))
        return false;
    m_room[static_cast<size_t>(nChannel)] = curve;
    m_positions[static_cast<size_t>(nChannel)] = std::move(positions);
    Redraw(m_nShownBand);
    return true;
}

int CFStatic::PositionCount(int nChannel) const
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return 0;
    const auto n = static_cast<size_t>(nChannel);
    return m_positions[n].empty() ? (m_room[n].IsEmpty() ? 0 : 1) : static_cast<int>(m_positions[n].size());
}

void CFStatic::DrawValues(const AxisResponse& values, int nFirst, int nLast, double dWidth, QRgb crColour)
{
    const int nH = m_rcPlot.height();
    const int nW = m_rcPlot.width();
    std::vector<QPointF> points;
    // A phase that wraps starts a new stroke rather than a line across the plot.
    auto flush = [&] {
        if (points.size() > 1)
            m_canvas.DrawCurve(points.data(), static_cast<int>(points.size()), dWidth, 0xFF000000u | crColour, m_rcPlot);
        points.clear();
    };
    for (int i = nFirst; i <= nLast; ++i) {
        const auto n = static_cast<size_t>(i);
        if (m_view == ResponseView::Phase && i > nFirst && std::abs(values[n] - values[n - 1]) > 180.0)
            flush();
        points.emplace_back(FreqToColF(g_dFreqAxis[n], nW) + kPlotOffsetX,
                            DbToRowF(ViewScaled(m_view, values[n]), nH) + kPlotOffsetY);
    }
    flush();
}

void CFStatic::DrawOutputView(int nOutput, double dWidth)
{
    AxisResponse values{};
    ViewValues(m_view, OutputResponseOf(*m_pData, nOutput), values);
    DrawValues(values, 0, kAxisPoints - 1, dWidth, m_pData->Output(nOutput).CurveColour());
}

void CFStatic::DrawEvidence()
{
    if (m_bHasA) {
        // A is drawn thin under B for the outputs whose curves are shown.
        for (int i = 0; i < kOutputs; ++i) {
            if (i != m_nChannel && !m_pData->Output(i).IsCurveVisible())
                continue;
            AxisResponse values{};
            ViewValues(m_view, m_a[static_cast<size_t>(i)], values);
            DrawValues(values, 0, kAxisPoints - 1, kAWidth, m_pData->Output(i).CurveColour());
        }
    }
    if (ShowsDifference())
        DrawValues(Difference(), 0, kAxisPoints - 1, kDifferenceWidth, kDifferenceColour);
    if (m_bShowSum && SumMembers().size() >= 2) {
        const SumResult sum = CurrentSum();
        AxisResponse values{};
        SumValues(m_view, sum, values);
        DrawValues(values, sum.nFirst, sum.nLast, kSumWidth, kSumColour);
        DrawSumTexts(sum.bFiltersOnly);
    }
}

void CFStatic::DrawSumTexts(bool bFiltersOnly)
{
    QPainter painter(&m_canvas.Picture());
    painter.setFont(m_font);
    painter.setPen(QColor::fromRgb(kSumColour));
    const int nLine = painter.fontMetrics().height();
    QRect rcLine(m_rcPlot.left() + 4, m_rcPlot.top() + 2, m_rcPlot.width() / 2, nLine);
    if (bFiltersOnly) {
        DrawLabel(painter, rcLine, Tr(kTxtSum) + QStringLiteral(": ") + Tr(kTxtFiltersOnly));
        rcLine.translate(0, nLine);
    }
    if (!m_advice)
        return;
    const std::vector<int> members = SumMembers();
    auto name = [this](int i) { return QString::fromStdString(m_pData->Output(i).GetName()); };
    const QString strText = Tr(kTxtAdviceLine)
                                .arg(name(members[static_cast<size_t>(m_advice->nMember)]))
                                .arg(m_advice->nDelayCode / kDelayCodesPerMs, 0, 'f', 3)
                                .arg(name(members[1]))
                                .arg(Tr(m_advice->bInvertSecond ? kTxtPolarityInverted : kTxtPolarityNormal))
                                .arg(m_advice->dBeforeDb, 0, 'f', 2)
                                .arg(m_advice->dAfterDb, 0, 'f', 2);
    DrawLabel(painter, QRect(rcLine.topLeft(), QSize(painter.fontMetrics().horizontalAdvance(strText), nLine)), strText);
}

void CFStatic::DrawSpread(const std::vector<MeasurementPoint>& average, double dOffset)
{
    const Spread spread = PositionSpread(m_positions[static_cast<size_t>(m_nChannel)], average);
    const int nH = m_rcPlot.height();
    const int nW = m_rcPlot.width();
    QPolygonF band;
    for (size_t k = 0; k < average.size(); ++k)
        band << QPointF(FreqToColF(average[k].dFreq, nW) + kPlotOffsetX, DbToRowF(spread.dMax[k] + dOffset, nH) + kPlotOffsetY);
    for (size_t k = average.size(); k-- > 0;)
        band << QPointF(FreqToColF(average[k].dFreq, nW) + kPlotOffsetX, DbToRowF(spread.dMin[k] + dOffset, nH) + kPlotOffsetY);
    QPainter painter(&m_canvas.Picture());
    painter.setClipRect(m_rcPlot.adjusted(1, 1, -1, -1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSpreadColour);
    painter.drawPolygon(band);
    m_canvas.Touch(band.boundingRect().toAlignedRect() & m_rcPlot);
}

void CFStatic::FillEvidenceMenu(QMenu& menu)
{
    const bool bOutput = m_nMode == kModeOutput;
    menu.addSeparator();
    auto* pViews = new QActionGroup(&menu);
    for (int v = 0; v < kResponseViews; ++v) {
        QAction* pView = menu.addAction(Tr(kViewTexts[static_cast<size_t>(v)]), this,
                                        [this, v] { SetView(static_cast<ResponseView>(v)); });
        pView->setCheckable(true);
        pView->setChecked(static_cast<int>(m_view) == v);
        pViews->addAction(pView);
    }
    QAction* pSum = menu.addAction(Tr(kTxtSum), this, [this](bool bOn) { ShowSum(bOn); });
    pSum->setCheckable(true);
    pSum->setChecked(m_bShowSum);
    QMenu* pMembers = menu.addMenu(Tr(kTxtSumOf));
    for (int i = 0; i < kOutputs; ++i) {
        const QString strName = m_pData ? QString::fromStdString(m_pData->Output(i).GetName()) : QString::number(i + 1);
        QAction* pMember = pMembers->addAction(strName, this, [this, i](bool bOn) { SetSumMember(i, bOn); });
        pMember->setCheckable(true);
        pMember->setChecked(IsSumMember(i));
    }
    const bool bPair = m_bShowSum && SumMembers().size() == 2;
    menu.addAction(Tr(kTxtAlignAdvice), this, &CFStatic::AdviseAlignment)->setEnabled(bPair);
    menu.addAction(Tr(kTxtApplyAdvice), this, &CFStatic::ApplyAdvice)->setEnabled(bPair && m_advice.has_value());
    menu.addSeparator();
    menu.addAction(Tr(kTxtKeepAsA), this, &CFStatic::KeepAsA)->setEnabled(m_pData != nullptr);
    menu.addAction(Tr(kTxtAFromFile), this, &CFStatic::AFromFileRequested);
    FillProgramsMenu(*menu.addMenu(Tr(kTxtAFromProgram)));
    QAction* pDiff = menu.addAction(Tr(kTxtDifference), this, [this](bool bOn) { ShowDifference(bOn); });
    pDiff->setCheckable(true);
    pDiff->setChecked(ShowsDifference());
    pDiff->setEnabled(m_bHasA);
    menu.addAction(Tr(kTxtClearA), this, &CFStatic::ClearA)->setEnabled(m_bHasA);
    menu.addSeparator();
    const int nPositions = PositionCount(m_nChannel);
    QAction* pAdd = menu.addAction(Tr(kTxtAddPosition).arg(nPositions).arg(kMaxPositions), this,
                                   &CFStatic::AddPositionRequested);
    pAdd->setEnabled(bOutput && nPositions < kMaxPositions);
}

void CFStatic::FillProgramsMenu(QMenu& menu)
{
    const ProgramList programs = m_programsForA ? m_programsForA() : ProgramList();
    for (const auto& [nProgram, strName] : programs)
        menu.addAction(QStringLiteral("%1  %2").arg(nProgram).arg(strName), this,
                       [this, n = nProgram] { emit AFromProgramRequested(n); });
    menu.setEnabled(!programs.empty());
}

void CFStatic::BuildEvidenceRow()
{
    m_pEvidenceRow = new QWidget(this);
    auto* pLayout = new QHBoxLayout(m_pEvidenceRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(2);
    m_pEvidenceRow->setStyleSheet(QString::fromLatin1(kRowStyle));
    QFont font = m_font;
    font.setPixelSize(kRowFontPixels);
    m_pEvidenceRow->setFont(font);
    m_pViewButton = RowButton(m_pEvidenceRow, false);
    m_pSumButton = RowButton(m_pEvidenceRow, true);
    m_pDiffButton = RowButton(m_pEvidenceRow, true);
    connect(m_pViewButton, &QToolButton::clicked, this,
            [this] { SetView(static_cast<ResponseView>((static_cast<int>(m_view) + 1) % kResponseViews)); });
    connect(m_pSumButton, &QToolButton::toggled, this, [this](bool bOn) { ShowSum(bOn); });
    connect(m_pDiffButton, &QToolButton::toggled, this, [this](bool bOn) { ShowDifference(bOn); });
    m_pEvidenceRow->hide();
}

void CFStatic::UpdateEvidenceRow()
{
    if (!m_pEvidenceRow)
        return;
    const bool bActive = m_view != ResponseView::Magnitude || m_bShowSum || m_bHasA;
    m_pViewButton->setText(Tr(kViewTexts[static_cast<size_t>(m_view)]));
    m_pSumButton->setText(Tr(kTxtSum));
    m_pDiffButton->setText(Tr(kTxtDifference));
    const QSignalBlocker blockSum(m_pSumButton);
    const QSignalBlocker blockDiff(m_pDiffButton);
    m_pSumButton->setChecked(m_bShowSum);
    m_pDiffButton->setChecked(ShowsDifference());
    m_pDiffButton->setEnabled(m_bHasA);
    m_pEvidenceRow->adjustSize();
    const QSize szRow = m_pEvidenceRow->sizeHint();
    m_pEvidenceRow->setGeometry(m_rcPlot.right() - kRowMargin - szRow.width(), m_rcPlot.top() + kRowMargin,
                                szRow.width(), szRow.height());
    m_pEvidenceRow->setVisible(bActive);
}
