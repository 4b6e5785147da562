// The parameter report: every parameter of the six outputs as text, one
// row per parameter and one column per output, as the report window lists
// it, prints it and exports it, and as zr470ctl prints it.
//
// The texts follow g_bChinese. User-interface thread (or the command's
// thread); takes the model lock while it reads the records.
#pragma once

#include <string>
#include <vector>

#include "DataDefine.h"

class CKTV_Data;

constexpr int kReportColumns = 7;         // the labels, then CH1 … CH6
constexpr int kReportBands = kGraphicBands;
constexpr int kReportRowsPerBand = 5;     // type, gain, frequency, Q, separator
constexpr int kReportHighPassRow = 155;
constexpr int kReportLowPassRow = 159;
constexpr int kReportChannelRow = 163;    // polarity … mute
constexpr int kReportLimiterRow = 170;
constexpr int kReportRows = 174;

struct ReportTable {
    std::vector<std::string> columns;            // "Args", "CH1" … "CH6"
    std::vector<std::vector<std::string>> rows;  // label, then one text per output
};

// The label of row nRow (empty for a separator and outside the table).
std::string ReportRowLabel(int nRow);
// The whole table from the records, the delay table's current listening
// position and the delay unit nDelayUnit.
ReportTable BuildReportTable(CKTV_Data& data, int nDelayUnit);
