#include "FilterSetFile.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>

#include "ApoChannels.h"
#include "RoomText.h"

namespace {

struct TypeName {
    const char* szName;
    RoomFilterKind kind;
};

// REW's "Modal" is a peaking filter described by its decay time; its Q is
// exported all the same.
constexpr std::array<TypeName, 20> kTypes = {{
    {"PK", RoomFilterKind::Peaking},   {"PEQ", RoomFilterKind::Peaking},  {"MODAL", RoomFilterKind::Peaking},
    {"LS", RoomFilterKind::LowShelf},  {"LSC", RoomFilterKind::LowShelf}, {"LSQ", RoomFilterKind::LowShelf},
    {"HS", RoomFilterKind::HighShelf}, {"HSC", RoomFilterKind::HighShelf}, {"HSQ", RoomFilterKind::HighShelf},
    {"HP", RoomFilterKind::HighPass},  {"HPQ", RoomFilterKind::HighPass}, {"HP1", RoomFilterKind::HighPass},
    {"LP", RoomFilterKind::LowPass},   {"LPQ", RoomFilterKind::LowPass},  {"LP1", RoomFilterKind::LowPass},
    {"BP", RoomFilterKind::BandPass},  {"NO", RoomFilterKind::Notch},     {"AP", RoomFilterKind::AllPass},
    {"NONE", RoomFilterKind::None},    {"NOTCH", RoomFilterKind::Notch},
}};

constexpr std::string_view kChannelCommand = "Channel:";

// Why a line or the file is refused; nothing when it is not.
using Fault = std::optional<RoomFileError>;

// The audio band: a wider filter is no filter a program computed.
constexpr double kMaxBandwidthOct = 10.0;

// Commands of the APO configuration that change the sound but are not
// filters: the user is told they were not taken.
constexpr std::array<const char*, 8> kApoCommands = {
    "Device:", "Include:", "GraphicEQ:", "Delay:", "Copy:", "Convolution:", "Stage:", "Eval:"};

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && RoomUpper(text.substr(0, prefix.size())) == RoomUpper(prefix);
}

// The text after "Filter[ N]:", or npos when the line is not a filter row
// ("Filter Settings file" is REW's title, not a row).
std::size_t FilterRowStart(std::string_view line)
{
    if (!StartsWithNoCase(line, "Filter"))
        return std::string_view::npos;
    std::size_t i = 6;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
        ++i;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return i < line.size() && line[i] == ':' ? i + 1 : std::string_view::npos;
}

class RowParser {
public:
    RowParser(std::string_view rest, int nLine) : m_tokens(RoomFields(rest)), m_nLine(nLine) {}

    Fault Parse(RoomFilter* pFilter)
    {
        pFilter->nLine = m_nLine;
        if (Peek() == "ON" || Peek() == "OFF")
            pFilter->bOn = Take() == "ON";
        else if (Peek() != "NONE")
            return Error(kTxtSetExpectedOnOff);
        const std::string strType = Take();
        if (!TypeOf(strType, &pFilter->kind))
            return Error(kTxtSetUnknownType, RoomQuote(strType));
        pFilter->strType = strType;
        if (pFilter->kind == RoomFilterKind::None)
            return m_i == m_tokens.size() ? std::nullopt : Unexpected();
        if (pFilter->kind == RoomFilterKind::LowShelf || pFilter->kind == RoomFilterKind::HighShelf) {
            if (Fault fault = TakeSlope(pFilter))
                return fault;
        }
        while (m_i < m_tokens.size()) {
            if (Fault fault = TakeValue(pFilter))
                return fault;
        }
        return CheckComplete(*pFilter);
    }

private:
    std::string Peek() const { return m_i < m_tokens.size() ? RoomUpper(m_tokens[m_i]) : std::string(); }
    std::string Take() { return m_i < m_tokens.size() ? RoomUpper(m_tokens[m_i++]) : std::string(); }
    Fault Error(TextId kind) const { return RoomFileError{kind, m_nLine, {}}; }
    Fault Error(TextId kind, std::string strArg) const { return RoomFileError{kind, m_nLine, {std::move(strArg)}}; }
    Fault Unexpected() const { return Error(kTxtSetUnexpected, RoomQuote(m_tokens[m_i])); }

    static bool TypeOf(const std::string& strType, RoomFilterKind* pKind)
    {
        for (const TypeName& type : kTypes) {
            if (strType == type.szName) {
                *pKind = type.kind;
                return true;
            }
        }
        return false;
    }

    // "6dB", "12dB" or "12 dB" right after a shelf's type.
    Fault TakeSlope(RoomFilter* pFilter)
    {
        std::string strToken = Peek();
        if (strToken.size() > 2 && strToken.compare(strToken.size() - 2, 2, "DB") == 0) {
            strToken.resize(strToken.size() - 2);
            if (!ParseRoomNumber(strToken, &pFilter->dSlope))
                return Unexpected();
            ++m_i;
        } else if (m_i < m_tokens.size() && ParseRoomNumber(m_tokens[m_i], &pFilter->dSlope)) {
            ++m_i;
            if (Take() != "DB")
                return Error(kTxtSetSlopeNeedsDb);
        }
        if (pFilter->dSlope < 0.0)
            return Error(kTxtSetSlopeNegative);
        return std::nullopt;
    }

    Fault TakeNumber(double* pValue, const char* szUnit)
    {
        if (m_i >= m_tokens.size() || !ParseRoomNumber(m_tokens[m_i], pValue))
            return m_i < m_tokens.size() ? Error(kTxtRoomNotNumber, RoomQuote(m_tokens[m_i]))
                                         : Error(kTxtSetValueMissing);
        ++m_i;
        if (szUnit && Peek() == szUnit)
            ++m_i;
        return std::nullopt;
    }

    Fault TakeValue(RoomFilter* pFilter)
    {
        const std::string strKey = Take();
        if (strKey == "FC")
            return TakeNumber(&pFilter->dFreq, "HZ");
        if (strKey == "GAIN")
            return TakeNumber(&pFilter->dGain, "DB");
        if (strKey == "Q")
            return TakeNumber(&pFilter->dQ, nullptr);
        if (strKey == "BW" && Take() == "OCT")
            return TakeNumber(&pFilter->dBwOct, nullptr);
        --m_i;
        return Unexpected();
    }

    Fault CheckComplete(const RoomFilter& filter) const
    {
        if (filter.dFreq < 1.0 || filter.dFreq > 100000.0)
            return Error(kTxtSetFrequency);
        if (filter.dQ < 0.0 || filter.dBwOct < 0.0)
            return Error(kTxtSetQPositive);
        if (std::abs(filter.dGain) > kRoomMaxLevelDb)
            return Error(kTxtSetGain, RoomNumberText(filter.dGain));
        if (filter.dBwOct > kMaxBandwidthOct)
            return Error(kTxtSetBandwidth, RoomNumberText(filter.dBwOct));
        if (filter.kind == RoomFilterKind::Peaking && filter.dQ == 0.0 && filter.dBwOct == 0.0)
            return Error(kTxtSetPeakingNeedsQ);
        return std::nullopt;
    }

    std::vector<std::string> m_tokens;
    std::size_t m_i = 0;
    int m_nLine;
};

FilterSetResult Refused(RoomFileError error)
{
    FilterSetResult result;
    result.strError = RoomFileErrorText(error);
    result.error = std::move(error);
    return result;
}

Fault ParsePreamp(std::string_view line, int nLine, FilterSet* pSet)
{
    const std::vector<std::string> fields = RoomFields(line.substr(7));
    const bool bUnit = fields.size() == 2 && RoomUpper(fields[1]) == "DB";
    if ((fields.size() != 1 && !bUnit) || !ParseRoomNumber(fields[0], &pSet->dPreamp))
        return RoomFileError{kTxtSetExpectedPreamp, nLine, {}};
    pSet->bHasPreamp = true;
    return std::nullopt;
}

void NoteCommand(std::string_view line, int nLine, FilterSet* pSet)
{
    for (const char* szCommand : kApoCommands) {
        if (StartsWithNoCase(line, szCommand)) {
            pSet->notes.Add(RoomLinePrefix(nLine) + Say(kTxtSetCommandNotTaken, {szCommand}));
            return;
        }
    }
}

// The filters of the channel strChannel (or of the rule's choice) into
// *pSet; the fault when there is no such channel or it has too many.
Fault TakeChannel(const CApoChannels& channels, const std::string& strChannel, std::vector<RoomFilter>& filters,
                  const std::vector<std::size_t>& sectionOf, FilterSet* pSet)
{
    RoomFileError error;
    if (!channels.Choose(strChannel, &pSet->strChannel, &error))
        return error;
    pSet->channels = channels.Choices();
    channels.NoteLeftOut(pSet->strChannel, pSet->notes);
    int nUsable = 0;
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (!channels.Takes(sectionOf[i], pSet->strChannel))
            continue;
        nUsable += filters[i].IsUsable() ? 1 : 0;
        pSet->filters.push_back(std::move(filters[i]));
    }
    if (nUsable > kMaxRoomFilters)
        return RoomFileError{kTxtSetTooManyFilters, 0, {std::to_string(nUsable)}};
    return std::nullopt;
}

// Gains and frequencies as the programs print them.
std::string Fixed(double dValue, int nDecimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", nDecimals, dValue);
    return text;
}

std::string TypeText(const RoomFilter& filter)
{
    if (filter.kind == RoomFilterKind::Peaking)
        return "PK";
    const std::string strSlope = filter.dSlope == 6.0 ? " 6dB" : " 12dB";
    return (filter.kind == RoomFilterKind::LowShelf ? "LS" : "HS") + strSlope;
}

}  // namespace

bool RoomFilter::IsUsable() const
{
    return bOn && (kind == RoomFilterKind::Peaking || kind == RoomFilterKind::LowShelf ||
                   kind == RoomFilterKind::HighShelf);
}

FilterSetResult ParseFilterSet(std::string_view text, const std::string& strChannel)
{
    RoomFileError error;
    if (!StripRoomEncoding(&text, &error))
        return Refused(std::move(error));
    FilterSetResult result;
    CApoChannels channels;
    std::vector<RoomFilter> filters;
    std::vector<std::size_t> sectionOf;
    int nLine = 0;
    for (const std::string_view line : RoomLines(text)) {
        ++nLine;
        if (line.empty() || line.front() == '#')
            continue;
        Fault fault;
        const std::size_t nRow = FilterRowStart(line);
        if (nRow != std::string_view::npos) {
            filters.emplace_back();
            fault = RowParser(line.substr(nRow), nLine).Parse(&filters.back());
            sectionOf.push_back(channels.TakeRow());
        } else if (StartsWithNoCase(line, "Preamp:")) {
            fault = ParsePreamp(line, nLine, &result.set);
        } else if (StartsWithNoCase(line, kChannelCommand)) {
            channels.Start(line.substr(kChannelCommand.size()), nLine);
        } else {
            NoteCommand(line, nLine, &result.set);
        }
        if (fault)
            return Refused(std::move(*fault));
    }
    if (filters.empty())
        return Refused({kTxtSetNoFilters, 0, {}});
    if (Fault fault = TakeChannel(channels, strChannel, filters, sectionOf, &result.set))
        return Refused(std::move(*fault));
    result.bOk = true;
    return result;
}

FilterSetResult ReadFilterSetFile(const std::string& strPath, const std::string& strChannel)
{
    RoomFileError error;
    const auto text = ReadRoomFile(strPath, &error);
    return text ? ParseFilterSet(*text, strChannel) : Refused(std::move(error));
}

std::string WriteFilterSet(const std::vector<RoomFilter>& filters, FilterSetFormat format, const std::string& strNote)
{
    const bool bRew = format == FilterSetFormat::Rew;
    // The note holds an output's name, which may hold any byte.
    const std::string strLine = PrintableName(strNote);
    std::string strOut = bRew ? "Filter Settings file\n\nNotes: " + strLine + "\nEqualiser: Generic\n\n"
                              : "# " + strLine + "\n";
    char row[160];
    int nNumber = 0;
    for (const RoomFilter& filter : filters) {
        if (!filter.IsUsable())
            continue;
        const std::string strType = TypeText(filter);
        const std::string strFreq = Fixed(filter.dFreq, 0);
        const std::string strGain = Fixed(filter.dGain, 1);
        const bool bQ = filter.kind == RoomFilterKind::Peaking;
        const std::string strQ = bQ ? (bRew ? "  Q  " : " Q ") + Fixed(filter.dQ, 3) : std::string();
        if (bRew)
            std::snprintf(row, sizeof row, "Filter %2d: ON  %-8s Fc %5s Hz  Gain %5s dB%s\n", ++nNumber,
                          strType.c_str(), strFreq.c_str(), strGain.c_str(), strQ.c_str());
        else
            std::snprintf(row, sizeof row, "Filter %d: ON %s Fc %s Hz Gain %s dB%s\n", ++nNumber, strType.c_str(),
                          strFreq.c_str(), strGain.c_str(), strQ.c_str());
        strOut += row;
    }
    return strOut;
}
