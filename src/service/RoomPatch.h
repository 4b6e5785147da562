// A PATCH of a room's settings: the sparse body read whole into edits, then
// checked whole against the processor and the caller's role, and only then
// applied, so that one bad field changes nothing.
//
//   {"system": {"volume": -12}, "outputs": {"2": {"mute": true, "eq3.gain": -4.5}}}
//
// Threads: ParsePatch anywhere; CheckPatch and ApplyPatch on the room's
// thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ParamTable.h"
#include "RoomJson.h"

class CProcessor;
class CStaffMutes;

struct ApiError {
    int nStatus = 400;
    std::string strError;
    std::string strField;  // "outputs.2.eq3.gain"; may be empty
};

struct ParamEdit {
    ParamRef ref;
    int nCode = 0;
    Json value;
    std::string strField;
};

// Who asks, as far as a room's settings are concerned.
struct Caller {
    bool bStaff = false;
    double dStaffMaxVolumeDb = 0.0;  // the room's limit for staff
};

std::optional<ApiError> ParsePatch(const std::string& strBody, std::vector<ParamEdit>* pEdits);
std::optional<ApiError> CheckPatch(CProcessor& processor, const std::vector<ParamEdit>& edits, const Caller& caller,
                                   const CStaffMutes& mutes, const std::string& strRoom);
void ApplyPatch(CProcessor& processor, const std::vector<ParamEdit>& edits, const Caller& caller, CStaffMutes& mutes,
                const std::string& strRoom);

// "above this room's staff limit of −10 dB", or empty when staff may set it.
std::string StaffVolumeRefusal(const Json& volume, double dLimitDb);
// The body as JSON object, or the 400 for it.
std::optional<ApiError> ParseBody(const std::string& strBody, Json* pBody);
