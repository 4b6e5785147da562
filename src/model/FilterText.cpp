// Short texts of a band for the pages, the report and the graph label.
#include <array>

#include "Filter.h"
#include "GlobalData.h"
#include "TextFormat.h"
#include "TextTable.h"

namespace {

// Q values above this are shown with two decimals to keep the field narrow.
constexpr double kTwoDecimalQ = 10.0;

constexpr std::array<TextId, 3> kFilterTypeTexts = {kTxtLinkwitzRiley, kTxtBessel, kTxtButterworth};
constexpr std::array<TextId, 3> kKindTexts = {kTxtPeakingKind, kTxtLowShelfKind, kTxtHighShelfKind};
constexpr std::array<const char*, 2> kShelfSlopeTexts = {"6dB/Oct", "12dB/Oct"};
constexpr std::array<const char*, 8> kCrossoverSlopeTexts = {
    "12dB/Oct", "18dB/Oct", "24dB/Oct", "30dB/Oct", "36dB/Oct", "42dB/Oct", "48dB/Oct", "OFF"};
constexpr std::array<const char*, 2> kTwoSlopeTexts = {"12dB/Oct", "24dB/Oct"};

const char* Word(const char* szText)
{
    return szText;
}

const char* Word(TextId id)
{
    return TextNow(id);
}

// Values read unchecked from the processor may lie outside a table: they
// get an empty text.
template <typename T, std::size_t N>
std::string Pick(const std::array<T, N>& table, int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(N))
        return {};
    return Word(table[nIndex]);
}

}  // namespace

std::string CFilter::FrequencyText() const
{
    return StrFormat("%dHz", m_nFreq);
}

std::string CFilter::GainText() const
{
    if (IsEffectivelyBypassed())
        return "0.0dB";  // what the processor applies, whatever gain is stored
    return StrFormat("%0.1fdB", m_dGain);
}

std::string CFilter::BandwidthText() const
{
    return StrFormat("%0.2fOct", m_dBandwidth);
}

std::string CFilter::QText() const
{
    const double dQ = QTableEntry(BandwidthToCode(m_dBandwidth));
    return dQ > kTwoDecimalQ ? StrFormat("%0.2f", dQ) : StrFormat("%0.3f", dQ);
}

std::string CFilter::FilterTypeText() const
{
    return Pick(kFilterTypeTexts, m_nFilterType);
}

std::string CFilter::ShelfSlopeText() const
{
    return Pick(kShelfSlopeTexts, m_nSlope);
}

std::string CFilter::CrossoverSlopeText() const
{
    if (IsTwoSlope())
        return Pick(kTwoSlopeTexts, m_nSlope);
    return Pick(kCrossoverSlopeTexts, m_nSlope);
}

std::string CFilter::KindText() const
{
    return Pick(kKindTexts, m_nKind);
}

std::string CFilter::Describe()
{
    switch (m_nKind) {
    case kPeaking:
        m_strLabel = (IsGraphic() ? "GEQ " : "PEQ ") + FrequencyText() + " " + QText() + "Q " + GainText();
        break;
    case kLowShelf:
    case kHighShelf:
        m_strLabel = (m_nKind == kLowShelf ? "Lo " : "Hi ") + FrequencyText() + " " + ShelfSlopeText() + " " +
                     GainText();
        break;
    case kHighPass:
    case kLowPass:
        m_strLabel = FrequencyText() + " ";
        break;
    default:
        m_strLabel.clear();
        break;
    }
    return m_strLabel;
}
