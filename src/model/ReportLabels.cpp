// The report's row labels. The English ones are the system's own texts,
// including the odd "EQ15req" of bands 15, 30 and 31. The Chinese ones are
// built from the same words for every row, so that each label names the
// value beside it.
#include <array>

#include "GlobalData.h"
#include "ReportTable.h"
#include "TextTable.h"

namespace {

constexpr std::array<TextPair, kReportRows - kReportHighPassRow> kTailLabels = {{
    {"HPF_Type", "低切类型"}, {"HPF_Freq", "低切频率"}, {"HPF_Oct", "低切斜率"}, {"", ""},
    {"LPF_Type", "高切类型"}, {"LPF_Freq", "高切频率"}, {"LPF_Oct", "高切斜率"}, {"", ""},
    {"POL", "相  位"}, {"Delay", "延  时"}, {"Gain", "增益"}, {"IN L", "输入左"}, {"IN R", "输入右"},
    {"Mute", "静  音"}, {"", ""},
    {"Threshold", "限幅电平"}, {"Attach", "响应时间"}, {"Release", "释放时间"}, {"", ""},
}};

bool IsOddlyNamedBand(int nBand)
{
    return nBand == 15 || nBand == 30 || nBand == 31;
}

std::string BandLabel(int nBand, int nOffset)
{
    const std::string strBand = std::to_string(nBand);
    if (CurrentLanguage() == Language::Chinese) {
        constexpr std::array<const char*, 4> kWords = {"类型", "增益", "频率", "Q值"};
        return nOffset < 4 ? "均衡" + strBand + kWords[static_cast<size_t>(nOffset)] : std::string();
    }
    constexpr std::array<const char*, 4> kWords = {" Type", " Gain", " Freq", " Q"};
    constexpr std::array<const char*, 4> kOddWords = {" Type", "Gain", "req", "Q"};
    if (nOffset >= 4)
        return {};
    return "EQ" + strBand + (IsOddlyNamedBand(nBand) ? kOddWords : kWords)[static_cast<size_t>(nOffset)];
}

}  // namespace

std::string ReportRowLabel(int nRow)
{
    if (nRow < 0 || nRow >= kReportRows)
        return {};
    if (nRow < kReportHighPassRow)
        return BandLabel(nRow / kReportRowsPerBand + 1, nRow % kReportRowsPerBand);
    const TextPair& label = kTailLabels[static_cast<size_t>(nRow - kReportHighPassRow)];
    return TextIn(CurrentLanguage(), label);
}
