#include "RoomJson.h"

#include "DataDefine.h"
#include "GlobalData.h"
#include "NumberText.h"
#include "ParamAccess.h"
#include "Processor.h"
#include "ProcessorState.h"

namespace {

constexpr int kFirstOutputLevelEntry = 4;  // entries 4 … 9 of the level table

std::vector<std::string> OutputParamNames()
{
    std::vector<std::string> names = {"level", "mute", "polarity", "eqmode", "mix"};
    for (int nBand = 1; nBand <= kGraphicBands; ++nBand)
        for (const char* pSuffix : {".freq", ".gain", ".bw", ".bypass"})
            names.push_back("eq" + std::to_string(nBand) + pSuffix);
    for (const char* pFilter : {"hpf.", "lpf."})
        for (const char* pSuffix : {"freq", "type", "slope"})
            names.push_back(std::string(pFilter) + pSuffix);
    for (const char* pName : {"limiter.threshold", "limiter.attack", "limiter.release"})
        names.emplace_back(pName);
    for (int nPosition = 1; nPosition <= kDelayPositions; ++nPosition)
        names.push_back("delay." + std::to_string(nPosition));
    return names;
}

Json ChannelJson(CProcessor& processor, int nChannel)
{
    Json channel = Json::object();
    for (const std::string& strName : ParamNamesOf(nChannel)) {
        ParamRef ref;
        std::string strError;
        if (ParseParamRef(nChannel, strName, &ref, &strError))
            channel[strName] = ReadParamJson(processor, ref);
    }
    return channel;
}

}  // namespace

const std::vector<std::string>& ParamNamesOf(int nChannel)
{
    static const std::vector<std::string> kSystem = {"source", "noisegate", "volume", "position"};
    static const std::vector<std::string> kOutput = OutputParamNames();
    return nChannel == kProcessorChannel ? kSystem : kOutput;
}

Json ParamJson(const ParamText& value)
{
    double dNumber = 0.0;
    if (value.bBoolean)
        return value.strText == "on";
    if (value.bNumber && ParseDecimal(value.strText, &dNumber))
        return dNumber;
    return value.strText;
}

std::string ParamTextOf(const Json& value)
{
    if (value.is_boolean())
        return value.get<bool>() ? "on" : "off";
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number_integer())
        return std::to_string(value.get<long long>());
    if (value.is_number())
        return FormatExact(value.get<double>());
    return value.dump();  // refused by every scale
}

Json ReadParamJson(CProcessor& processor, const ParamRef& ref)
{
    return ParamJson(ScaleOf(ref.kind).format(ReadParam(processor, ref)));
}

Json RoomSettingsJson(CProcessor& processor)
{
    Json outputs = Json::object();
    for (int nChannel = 1; nChannel <= kOutputs; ++nChannel)
        outputs[std::to_string(nChannel)] = ChannelJson(processor, nChannel);
    Json programs = Json::array();
    for (int nProgram = 1; nProgram <= kScenePrograms; ++nProgram)
        programs.push_back(processor.ProgramName(nProgram));
    return {{"system", ChannelJson(processor, kProcessorChannel)},
            {"outputs", outputs},
            {"programs", programs},
            {"scene", processor.SceneName()},
            {"identification", processor.Identification()}};
}

Json LevelsJson(CProcessor& processor)
{
    // The link thread writes the readings under the comm lock.
    CommLock lock(processor.State().m_csComm);
    const int* pLevels = processor.State().m_nLevelTable + kFirstOutputLevelEntry;
    return Json(std::vector<int>(pLevels, pLevels + kOutputs));
}
