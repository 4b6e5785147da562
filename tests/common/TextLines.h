// A text's lines, without their line ends.
#pragma once

#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> TextLines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        lines.push_back(strLine);
    return lines;
}
