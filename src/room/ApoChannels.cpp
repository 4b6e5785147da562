#include "ApoChannels.h"

#include <algorithm>

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return RoomUpper(a) == RoomUpper(b);
}

// "L, R" for a message: the first few names of a list of any length.
std::string Joined(const std::vector<std::string>& names)
{
    constexpr std::size_t kShown = 10;
    std::string strText;
    for (std::size_t i = 0; i < std::min(names.size(), kShown); ++i)
        strText += (i ? ", " : "") + RoomQuote(names[i]);
    return names.size() > kShown ? strText + ", …" : strText;
}

}  // namespace

void CApoChannels::Start(std::string_view rest, int nLine)
{
    Section section;
    section.names = RoomFields(rest);
    for (const std::string& strName : section.names)
        section.strText += (section.strText.empty() ? "" : " ") + strName;
    for (const std::string& strName : section.names)
        section.upper.insert(RoomUpper(strName));
    if (section.upper.count(RoomUpper(kApoAllChannels))) {
        section.names.clear();
        section.upper.clear();
    }
    section.nLine = nLine;
    m_sections.push_back(std::move(section));
}

std::size_t CApoChannels::TakeRow()
{
    ++m_sections.back().nRows;
    return m_sections.size() - 1;
}

std::vector<std::string> CApoChannels::NamesWithRows() const
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const Section& section : m_sections) {
        if (section.nRows == 0)
            continue;
        for (const std::string& strName : section.names)
            if (seen.insert(RoomUpper(strName)).second)
                names.push_back(strName);
    }
    return names;
}

std::vector<std::string> CApoChannels::Choices() const
{
    std::set<std::string> selections;
    bool bAll = false;
    for (const Section& section : m_sections) {
        if (section.nRows == 0)
            continue;
        bAll = bAll || section.names.empty();
        std::string strKey;
        for (const std::string& strName : section.upper)
            strKey += strName + ' ';
        selections.insert(strKey);
    }
    if (selections.size() <= 1)
        return {};
    std::vector<std::string> choices = NamesWithRows();
    if (bAll)
        choices.insert(choices.begin(), std::string(kApoAllChannels));
    return choices;
}

bool CApoChannels::Choose(const std::string& strWanted, std::string* pChosen, RoomFileError* pError) const
{
    const std::vector<std::string> choices = Choices();
    if (strWanted.empty()) {
        *pChosen = choices.empty() ? std::string() : choices.front();
        return true;
    }
    for (const std::string& strName : NamesWithRows()) {
        if (SameName(strName, strWanted)) {
            *pChosen = strName;
            return true;
        }
    }
    // Any other name is a mistake, not a wish for the filters every
    // channel shares: importing those alone would look like success.
    const bool bAll = SameName(strWanted, kApoAllChannels);
    for (std::size_t i = 0; i < m_sections.size() && bAll; ++i) {
        if (m_sections[i].nRows > 0 && Takes(i, strWanted)) {
            *pChosen = std::string(kApoAllChannels);
            return true;
        }
    }
    std::vector<std::string> offered = choices.empty() ? NamesWithRows() : choices;
    if (offered.empty())
        offered.emplace_back(kApoAllChannels);
    *pError = {kTxtApoNoChannel, 0, {RoomQuote(strWanted), Joined(offered)}};
    return false;
}

bool CApoChannels::Takes(std::size_t nSection, const std::string& strChosen) const
{
    const Section& section = m_sections[nSection];
    if (strChosen.empty() || section.names.empty())
        return true;
    if (SameName(strChosen, kApoAllChannels))
        return false;
    return section.upper.count(RoomUpper(strChosen)) > 0;
}

void CApoChannels::NoteLeftOut(const std::string& strChosen, CRoomNotes& notes) const
{
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        const Section& section = m_sections[i];
        if (section.nRows == 0 || Takes(i, strChosen))
            continue;
        const std::string strRows = section.nRows == 1
                                        ? Say(kTxtApoOneFilter)
                                        : Say(kTxtApoFilters, {std::to_string(section.nRows)});
        const std::string strTaken =
            SameName(strChosen, kApoAllChannels)
                ? Say(kTxtApoTakesAll)
                : Say(kTxtApoTakesChannel, {RoomQuote(strChosen)});
        notes.Add(RoomLinePrefix(section.nLine) + Say(kTxtApoNotTaken, {RoomQuote(section.strText), strRows, strTaken}));
    }
}
