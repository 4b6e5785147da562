#include "StaffMutes.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "AtomicFileWriter.h"
#include "NumberText.h"

CStaffMutes::CStaffMutes(std::filesystem::path path) : m_path(std::move(path))
{
    if (m_path.empty())
        return;
    std::ifstream file(m_path);
    const std::string strText((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    try {
        const nlohmann::json file = nlohmann::json::parse(strText);
        for (const auto& [strRoom, outputs] : file.at("staff_muted").items())
            m_muted[strRoom] = outputs.get<std::set<int>>();
    } catch (const std::exception&) {
        m_muted.clear();  // no file yet, or one nobody should trust: nothing is staff's
    }
}

bool CStaffMutes::MutedByStaff(const std::string& strRoom, int nOutput) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_muted.find(ToLower(strRoom));
    return it != m_muted.end() && it->second.contains(nOutput);
}

void CStaffMutes::Note(const std::string& strRoom, int nOutput, bool bMuted, bool bByStaff)
{
    std::lock_guard lock(m_mutex);
    std::set<int>& outputs = m_muted[ToLower(strRoom)];
    const bool bChanged = bMuted && bByStaff ? outputs.insert(nOutput).second : outputs.erase(nOutput) > 0;
    if (bChanged)
        Save();
}

void CStaffMutes::Save() const
{
    if (m_path.empty())
        return;
    const std::string strText = nlohmann::json{{"staff_muted", m_muted}}.dump(2) + "\n";
    CAtomicFileWriter::Write(m_path, std::span(reinterpret_cast<const uint8_t*>(strText.data()), strText.size()));
}
