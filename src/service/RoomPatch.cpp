#include "RoomPatch.h"

#include "GlobalData.h"
#include "NumberText.h"
#include "ParamAccess.h"
#include "StaffMutes.h"

namespace {

std::optional<ApiError> ReadChannel(int nChannel, const Json& params, const std::string& strPrefix,
                                    std::vector<ParamEdit>* pEdits)
{
    if (!params.is_object())
        return ApiError{400, "expected an object of parameters", strPrefix};
    for (const auto& [strName, value] : params.items()) {
        ParamEdit edit;
        edit.strField = strPrefix + "." + strName;
        edit.value = value;
        std::string strError;
        if (!ParseParamRef(nChannel, strName, &edit.ref, &strError) ||
            !ParseParamValue(edit.ref, ParamTextOf(value), &edit.nCode, &strError))
            return ApiError{400, strError, edit.strField};
        pEdits->push_back(std::move(edit));
    }
    return std::nullopt;
}

std::optional<ApiError> ReadOutputs(const Json& outputs, std::vector<ParamEdit>* pEdits)
{
    if (!outputs.is_object())
        return ApiError{400, "expected an object of outputs \"1\" … \"6\"", "outputs"};
    for (const auto& [strChannel, params] : outputs.items()) {
        int nChannel = 0;
        if (!ParseWhole(strChannel, &nChannel) || nChannel < 1 || nChannel > kOutputs)
            return ApiError{400, "no output \"" + EchoText(strChannel) + "\": outputs are 1 … 6", "outputs." + strChannel};
        if (auto error = ReadChannel(nChannel, params, "outputs." + strChannel, pEdits))
            return error;
    }
    return std::nullopt;
}

std::optional<ApiError> CheckStaff(CProcessor& processor, const ParamEdit& edit, const Caller& caller,
                                   const CStaffMutes& mutes, const std::string& strRoom)
{
    if (edit.ref.kind == ParamKind::Volume) {
        const std::string strWhy = StaffVolumeRefusal(edit.value, caller.dStaffMaxVolumeDb);
        return strWhy.empty() ? std::nullopt : std::optional(ApiError{403, strWhy, edit.strField});
    }
    if (edit.ref.kind != ParamKind::Mute)
        return ApiError{403, "staff may set only the music volume and the outputs' mute", edit.strField};
    const bool bMutedNow = ReadParam(processor, edit.ref) != 0;
    if (edit.nCode == 0 && bMutedNow && !mutes.MutedByStaff(strRoom, edit.ref.nChannel))
        return ApiError{403, "output " + std::to_string(edit.ref.nChannel) + " was muted by the installer",
                        edit.strField};
    return std::nullopt;
}

}  // namespace

std::optional<ApiError> ParseBody(const std::string& strBody, Json* pBody)
{
    *pBody = Json::parse(strBody, nullptr, false);
    if (pBody->is_discarded() || !pBody->is_object())
        return ApiError{400, "the body is no JSON object", ""};
    return std::nullopt;
}

std::optional<ApiError> ParsePatch(const std::string& strBody, std::vector<ParamEdit>* pEdits)
{
    Json body;
    if (auto error = ParseBody(strBody, &body))
        return error;
    for (const auto& [strKey, value] : body.items()) {
        std::optional<ApiError> error;
        if (strKey == "system")
            error = ReadChannel(kProcessorChannel, value, "system", pEdits);
        else if (strKey == "outputs")
            error = ReadOutputs(value, pEdits);
        else
            error = ApiError{400, "unknown key \"" + EchoText(strKey) + "\": a PATCH holds system and outputs", strKey};
        if (error)
            return error;
    }
    return std::nullopt;
}

std::optional<ApiError> CheckPatch(CProcessor& processor, const std::vector<ParamEdit>& edits, const Caller& caller,
                                   const CStaffMutes& mutes, const std::string& strRoom)
{
    for (const ParamEdit& edit : edits) {
        if (caller.bStaff)
            if (auto error = CheckStaff(processor, edit, caller, mutes, strRoom))
                return error;
        const std::string strWhy = CheckParam(processor, edit.ref, edit.nCode);
        if (!strWhy.empty())
            return ApiError{400, strWhy, edit.strField};
    }
    return std::nullopt;
}

void ApplyPatch(CProcessor& processor, const std::vector<ParamEdit>& edits, const Caller& caller, CStaffMutes& mutes,
                const std::string& strRoom)
{
    for (const ParamEdit& edit : edits) {
        // Staff muting an output that is muted already does not take it over.
        const bool bMute = edit.ref.kind == ParamKind::Mute;
        const bool bKeepOwner = bMute && caller.bStaff && edit.nCode != 0 && ReadParam(processor, edit.ref) != 0;
        WriteParam(processor, edit.ref, edit.nCode);
        if (bMute && !bKeepOwner)
            mutes.Note(strRoom, edit.ref.nChannel, edit.nCode != 0, caller.bStaff);
    }
}

std::string StaffVolumeRefusal(const Json& volume, double dLimitDb)
{
    if (!volume.is_number() || volume.get<double>() <= dLimitDb)
        return {};
    std::string strLimit = FormatTrimmed(dLimitDb, 1);
    if (strLimit.starts_with('-'))
        strLimit = "−" + strLimit.substr(1);
    return "above this room's staff limit of " + strLimit + " dB";
}
