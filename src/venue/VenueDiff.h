// The differences between two processors, or a processor and a preset
// file: the parameter report's rows (174 per output), the scene name and,
// when both sides carry them, the names of programs 1 … 10.
//
// Threads: any one thread; a room side is read on its own link.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "VenueFile.h"

// One side: a room, read live, or a preset file (.ZR4C or .ZR4AC).
struct DiffSide {
    bool bRoom = false;
    VenueRoom room;               // bRoom
    std::filesystem::path file;  // otherwise
    static DiffSide Room(const VenueRoom& room) { return {true, room, {}}; }
    static DiffSide File(const std::filesystem::path& path) { return {false, {}, path}; }
    std::string Title() const { return bRoom ? room.strName : file.string(); }
};

struct DiffRow {
    std::string strLabel;    // the report row's label, "scene name", "program N name"
    std::string strChannel;  // "CH1" … "CH6", empty for a name
    std::string strA, strB;
};

struct DiffResult {
    bool bOk = false;  // both sides were read
    std::string strError;
    std::vector<DiffRow> rows;  // empty: the same
};

DiffResult VenueDiff(const DiffSide& a, const DiffSide& b, const std::atomic<bool>& bStop);
