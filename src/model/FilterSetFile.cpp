#include "FilterSetFile.h"

#include <array>
#include <cctype>
#include <cstdio>

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

// Commands of the APO configuration that change the sound but are not
// filters: the user is told they were not taken.
constexpr std::array<const char*, 9> kApoCommands = {
    "Channel:", "Device:", "Include:", "GraphicEQ:", "Delay:", "Copy:", "Convolution:", "Stage:", "Eval:"};

std::string Upper(std::string_view text)
{
    std::string str(text);
    for (char& c : str)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return str;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && Upper(text.substr(0, prefix.size())) == Upper(prefix);
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

    std::string Parse(RoomFilter* pFilter)
    {
        pFilter->nLine = m_nLine;
        if (Peek() == "ON" || Peek() == "OFF")
            pFilter->bOn = Take() == "ON";
        else if (Peek() != "NONE")
            return Error(RoomSay("expected ON, OFF or None", "应为 ON、OFF 或 None"));
        const std::string strType = Take();
        if (!TypeOf(strType, &pFilter->kind))
            return Error(RoomSay("unknown filter type \"%1\"", "未知的滤波器类型 \"%1\"", {strType}));
        pFilter->strType = strType;
        if (pFilter->kind == RoomFilterKind::None)
            return m_i == m_tokens.size() ? std::string() : Unexpected();
        if (pFilter->kind == RoomFilterKind::LowShelf || pFilter->kind == RoomFilterKind::HighShelf) {
            std::string strError = TakeSlope(pFilter);
            if (!strError.empty())
                return strError;
        }
        while (m_i < m_tokens.size()) {
            std::string strError = TakeValue(pFilter);
            if (!strError.empty())
                return strError;
        }
        return CheckComplete(*pFilter);
    }

private:
    std::string Peek() const { return m_i < m_tokens.size() ? Upper(m_tokens[m_i]) : std::string(); }
    std::string Take() { return m_i < m_tokens.size() ? Upper(m_tokens[m_i++]) : std::string(); }
    std::string Error(const std::string& strWhat) const { return RoomLinePrefix(m_nLine) + strWhat; }
    std::string Unexpected() const
    {
        return Error(RoomSay("unexpected \"%1\"", "无法识别 \"%1\"", {std::string(m_tokens[m_i])}));
    }

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
    std::string TakeSlope(RoomFilter* pFilter)
    {
        std::string strToken = Peek();
        if (strToken.size() > 2 && strToken.compare(strToken.size() - 2, 2, "DB") == 0) {
            strToken.resize(strToken.size() - 2);
            if (!ParseRoomNumber(strToken, &pFilter->dSlope))
                return Unexpected();
            ++m_i;
        } else if (ParseRoomNumber(m_i < m_tokens.size() ? m_tokens[m_i] : std::string_view(), &pFilter->dSlope)) {
            ++m_i;
            if (Take() != "DB")
                return Error(RoomSay("a slope needs \"dB\"", "斜率需要 \"dB\""));
        }
        if (pFilter->dSlope < 0.0)
            return Error(RoomSay("the slope is negative", "斜率为负"));
        return {};
    }

    std::string TakeNumber(double* pValue, const char* szUnit)
    {
        if (m_i >= m_tokens.size() || !ParseRoomNumber(m_tokens[m_i], pValue))
            return m_i < m_tokens.size() ? Error(RoomSay("\"%1\" is not a number", "\"%1\" 不是数字",
                                                         {std::string(m_tokens[m_i])}))
                                         : Error(RoomSay("a value is missing", "缺少数值"));
        ++m_i;
        if (szUnit && Peek() == szUnit)
            ++m_i;
        return {};
    }

    std::string TakeValue(RoomFilter* pFilter)
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

    std::string CheckComplete(const RoomFilter& filter) const
    {
        if (filter.dFreq < 1.0 || filter.dFreq > 100000.0)
            return Error(RoomSay("the frequency is missing or outside 1 Hz … 100 kHz",
                                 "频率缺失或超出 1 Hz … 100 kHz"));
        if (filter.dQ < 0.0 || filter.dBwOct < 0.0)
            return Error(RoomSay("Q and bandwidth must be positive", "Q 和带宽必须为正"));
        if (filter.kind == RoomFilterKind::Peaking && filter.dQ == 0.0 && filter.dBwOct == 0.0)
            return Error(RoomSay("a peaking filter needs Q", "参量滤波器需要 Q"));
        return {};
    }

    std::vector<std::string_view> m_tokens;
    std::size_t m_i = 0;
    int m_nLine;
};

FilterSetResult Refused(std::string strError)
{
    FilterSetResult result;
    result.strError = std::move(strError);
    return result;
}

std::string ParsePreamp(std::string_view line, int nLine, FilterSet* pSet)
{
    const std::vector<std::string_view> fields = RoomFields(line.substr(7));
    const bool bUnit = fields.size() == 2 && Upper(fields[1]) == "DB";
    if ((fields.size() != 1 && !bUnit) || !ParseRoomNumber(fields[0], &pSet->dPreamp))
        return RoomLinePrefix(nLine) + RoomSay("expected \"Preamp: <gain> dB\"", "应为 \"Preamp: <增益> dB\"");
    pSet->bHasPreamp = true;
    return {};
}

void NoteCommand(std::string_view line, int nLine, FilterSet* pSet)
{
    for (const char* szCommand : kApoCommands) {
        if (StartsWithNoCase(line, szCommand)) {
            pSet->notes.push_back(RoomLinePrefix(nLine) + RoomSay("\"%1\" not taken: only filters are imported",
                                                                  "\"%1\" 未导入：只导入滤波器", {szCommand}));
            return;
        }
    }
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

FilterSetResult ParseFilterSet(std::string_view text)
{
    FilterSetResult result;
    int nLine = 0;
    int nUsable = 0;
    bool bAnyRow = false;
    for (const std::string_view line : RoomLines(text)) {
        ++nLine;
        if (line.empty() || line.front() == '#')
            continue;
        std::string strError;
        const std::size_t nRow = FilterRowStart(line);
        if (nRow != std::string_view::npos) {
            RoomFilter filter;
            strError = RowParser(line.substr(nRow), nLine).Parse(&filter);
            bAnyRow = true;
            nUsable += filter.IsUsable() ? 1 : 0;
            result.set.filters.push_back(filter);
        } else if (StartsWithNoCase(line, "Preamp:")) {
            strError = ParsePreamp(line, nLine, &result.set);
        } else {
            NoteCommand(line, nLine, &result.set);
        }
        if (!strError.empty())
            return Refused(std::move(strError));
    }
    if (!bAnyRow)
        return Refused(RoomSay("Not a filter set: no \"Filter\" rows", "不是滤波器文件：没有 \"Filter\" 行"));
    if (nUsable > kMaxRoomFilters)
        return Refused(RoomSay("%1 filters: the output has only 31 bands", "%1 个滤波器：输出只有 31 段",
                               {std::to_string(nUsable)}));
    result.bOk = true;
    return result;
}

FilterSetResult ReadFilterSetFile(const std::string& strPath)
{
    std::string strError;
    const auto text = ReadRoomFile(strPath, &strError);
    return text ? ParseFilterSet(*text) : Refused(strError);
}

std::string WriteFilterSet(const std::vector<RoomFilter>& filters, FilterSetFormat format, const std::string& strNote)
{
    const bool bRew = format == FilterSetFormat::Rew;
    std::string strOut = bRew ? "Filter Settings file\n\nNotes: " + strNote + "\nEqualiser: Generic\n\n"
                              : "# " + strNote + "\n";
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
