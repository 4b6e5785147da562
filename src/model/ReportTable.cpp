// The report's value texts: each output's column in the row order of the
// labels. Every band fills exactly its five rows, whatever its kind.
#include "ReportTable.h"

#include <array>

#include "DelayTable.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "TextFormat.h"
#include "TextTable.h"
#include "ValueScales.h"

namespace {

constexpr int kLevelOffset = 60;            // level index 60 is 0 dB
constexpr int kShortestAttack = 3;          // attack index 0 is 0.3 ms
constexpr int kLastTenthAttack = 6;         // up to here in tenths of a ms, then whole ms
constexpr std::array<const char*, 6> kReleaseTexts = {"Atk * 2", "Atk * 4", "Atk * 6",
                                                      "Atk * 8", "Atk * 16", "Atk * 32"};

using Column = std::array<std::string, kReportRows>;

std::string OnOff(bool bOn, const char* szOn)
{
    return bOn ? szOn : "OFF";
}

void FillBand(const CFilter& band, std::string* pRows)
{
    pRows[0] = band.KindText();
    pRows[1] = band.GainText();
    pRows[2] = band.FrequencyText();
    const bool bShelf = band.GetKind() == kLowShelf || band.GetKind() == kHighShelf;
    pRows[3] = bShelf ? band.ShelfSlopeText() : band.QText();
}

void FillCrossover(const CFilter& filter, std::string* pRows)
{
    pRows[0] = filter.FilterTypeText();
    pRows[1] = filter.FrequencyText();
    pRows[2] = filter.CrossoverSlopeText();
}

std::string AttackText(int nAttack)
{
    if (nAttack > kLastTenthAttack)
        return StrFormat("%dms", nAttack - kLastTenthAttack);
    return StrFormat("%0.1fms", (nAttack + kShortestAttack) * 0.1);
}

std::string ReleaseText(int nRelease)
{
    if (nRelease < 0 || nRelease >= static_cast<int>(kReleaseTexts.size()))
        return {};
    return kReleaseTexts[static_cast<size_t>(nRelease)];
}

Column OutputColumn(CProcessorState& state, CKTV_OutData& out, int nChannel, int nDelayUnit)
{
    Column rows;
    const CKTVEQ& eq = out.EQ();
    for (int n = 0; n < kReportBands && n < eq.BandCount(); ++n)
        FillBand(eq[n], &rows[static_cast<size_t>(n * kReportRowsPerBand)]);
    FillCrossover(eq.HighPass(), &rows[kReportHighPassRow]);
    FillCrossover(eq.LowPass(), &rows[kReportLowPassRow]);
    std::string* pChannel = &rows[kReportChannelRow];
    pChannel[0] = PolarityText(out.GetPolarity());
    pChannel[1] = DelayText(GetPositionDelay(state, GetCurrentPosition(state), nChannel), nDelayUnit);
    pChannel[2] = out.GetLevelZero() ? "-60.0dB" : StrFormat("%0.1fdB", double(out.GetLevel() - kLevelOffset));
    pChannel[3] = OnOff(!out.GetLeftOff(), "ON");
    pChannel[4] = OnOff(!out.GetRightOff(), "ON");
    pChannel[5] = OnOff(out.GetMute() != 0, "On");
    std::string* pLimiter = &rows[kReportLimiterRow];
    pLimiter[0] = StrFormat("%0.1fdBu", out.GetThreshold() * 0.1 - 30.0);
    pLimiter[1] = AttackText(out.GetAttack());
    pLimiter[2] = ReleaseText(out.GetRelease());
    return rows;
}

}  // namespace

ReportTable BuildReportTable(CKTV_Data& data, int nDelayUnit)
{
    ReportTable table;
    table.columns.push_back(TextNow(kTxtReportArgs));
    for (int i = 1; i <= kOutputs; ++i)
        table.columns.push_back("CH" + std::to_string(i));
    table.rows.assign(kReportRows, std::vector<std::string>(kReportColumns));
    for (int nRow = 0; nRow < kReportRows; ++nRow)
        table.rows[static_cast<size_t>(nRow)][0] = ReportRowLabel(nRow);
    ModelLock lock(data.State().m_csModel);
    for (int i = 0; i < kOutputs; ++i) {
        const Column column = OutputColumn(data.State(), data.Output(i), i, nDelayUnit);
        for (int nRow = 0; nRow < kReportRows; ++nRow)
            table.rows[static_cast<size_t>(nRow)][static_cast<size_t>(i + 1)] = column[static_cast<size_t>(nRow)];
    }
    return table;
}
