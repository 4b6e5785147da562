// devices, info
#include <cstdio>
#include <cstring>
#include <sstream>

#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlJson.h"
#include "DataDefine.h"
#include "GlobalData.h"
#include "HidTransport.h"
#include "KTV_Data.h"
#include "Processor.h"
#include "ValueScales.h"

namespace {

constexpr int kPrograms = kScenePrograms;

struct OutputInfo {
    std::string strName;
    int nLevelDb = 0;
    bool bMute = false;
};

struct ProcessorInfo {
    std::string strIdentification;
    int nVariant = 0;
    std::string strDevice;
    std::string strScene;
    std::vector<std::string> programs;
    std::vector<OutputInfo> outputs;
};

ProcessorInfo Collect(CProcessorConversation& device, CKTV_Data& data)
{
    ProcessorInfo info;
    info.nVariant = data.State().m_nDeviceType.load();
    info.strDevice = device.Session().DeviceDescription();
    CProcessor& processor = device.Processor();
    info.strIdentification = processor.Identification();
    info.strScene = processor.SceneName();
    for (int n = 1; n <= kPrograms; ++n)
        info.programs.push_back(processor.ProgramName(n));
    for (int k = 0; k < kOutputs; ++k) {
        const CKTV_OutData& out = data.Output(k);
        info.outputs.push_back({out.GetName(), static_cast<int>(LevelToDb(out.GetLevel())), out.GetMute() != 0});
    }
    return info;
}

std::string InfoText(const ProcessorInfo& info)
{
    std::ostringstream text;
    text << "identification  " << info.strIdentification << "\nvariant         " << info.nVariant
         << "\ndevice          " << info.strDevice << "\nscene           " << info.strScene << '\n';
    for (size_t i = 0; i < info.programs.size(); ++i)
        text << "program " << i + 1 << (i + 1 < 10 ? "       " : "      ") << info.programs[i] << '\n';
    for (size_t k = 0; k < info.outputs.size(); ++k) {
        const OutputInfo& out = info.outputs[k];
        char line[96];
        std::snprintf(line, sizeof line, "output %zu        %-8s  level %d dB  mute %s\n", k + 1,
                      out.strName.c_str(), out.nLevelDb, out.bMute ? "on" : "off");
        text << line;
    }
    return text.str();
}

std::string InfoJson(const ProcessorInfo& info)
{
    Json programs = Json::array();
    for (size_t i = 0; i < info.programs.size(); ++i)
        programs.push_back({{"number", i + 1}, {"name", info.programs[i]}});
    Json outputs = Json::array();
    for (size_t k = 0; k < info.outputs.size(); ++k) {
        const OutputInfo& out = info.outputs[k];
        outputs.push_back({{"channel", k + 1}, {"name", out.strName}, {"level", out.nLevelDb}, {"mute", out.bMute}});
    }
    return JsonLine({{"identification", info.strIdentification},
                     {"variant", info.nVariant},
                     {"device", info.strDevice},
                     {"scene", info.strScene},
                     {"programs", programs},
                     {"outputs", outputs}});
}

std::string Hex4(int nValue)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04x", nValue & 0xFFFF);
    return buffer;
}

}  // namespace

// An empty list is an answer, not a failure: a script asks to learn it.
int RunDevices(CtlContext& ctx)
{
    const std::vector<HidDeviceInfo> devices = CHidTransport::Enumerate();
    Json list = Json::array();
    for (const HidDeviceInfo& d : devices) {
        const bool bMayOpen = CHidTransport::MayOpen(d.strPath);
        if (ctx.inv.bJson) {
            list.push_back({{"path", d.strPath},
                            {"serial", d.strSerial},
                            {"may_open", bMayOpen},
                            {"vendor", Hex4(d.nVendorId)},
                            {"product", Hex4(d.nProductId)},
                            {"release", Hex4(d.nRelease)},
                            {"name", d.strProduct}});
            continue;
        }
        ctx.out << d.strPath << "  serial " << (d.strSerial.empty() ? "-" : d.strSerial) << "  "
                << (bMayOpen ? "may open" : "no access: install the udev rules, or join the group plugdev") << "  "
                << d.strProduct << '\n';
    }
    if (ctx.inv.bJson)
        ctx.out << JsonLine(list);
    else if (devices.empty())
        ctx.out << "no processor attached on USB\n";
    return kExitOk;
}

int RunInfo(CtlContext& ctx)
{
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data& data, std::string* pResult) {
        const ProcessorInfo info = Collect(device, data);
        *pResult = ctx.inv.bJson ? InfoJson(info) : InfoText(info);
        return kExitOk;
    });
}
