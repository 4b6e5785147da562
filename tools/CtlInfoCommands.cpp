// devices, info
#include <cstdio>
#include <cstring>
#include <sstream>

#include "CtlCommands.h"
#include "CtlDevice.h"
#include "CtlText.h"
#include "DataDefine.h"
#include "GlobalData.h"
#include "HidTransport.h"
#include "KTV_Data.h"
#include "ValueScales.h"

namespace {

constexpr int kPrograms = 10;

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

ProcessorInfo Collect(CCtlDevice& device, CKTV_Data& data)
{
    ProcessorInfo info;
    info.nVariant = g_nDeviceType.load();
    info.strDevice = device.Session().DeviceDescription();
    ModelLock lock(g_csModel);
    const auto* pId = reinterpret_cast<const char*>(g_IdString);
    info.strIdentification.assign(pId, strnlen(pId, kIdSize));
    info.strScene = BytesToName(g_LiveImage + kOffSceneName, kNameSize);
    for (int n = 1; n <= kPrograms; ++n)
        info.programs.push_back(BytesToName(SceneEntry(n), kNameSize));
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
    std::ostringstream json;
    json << "{\"identification\":" << JsonString(info.strIdentification) << ",\"variant\":" << info.nVariant
         << ",\"device\":" << JsonString(info.strDevice) << ",\"scene\":" << JsonString(info.strScene)
         << ",\"programs\":[";
    for (size_t i = 0; i < info.programs.size(); ++i)
        json << (i ? "," : "") << "{\"number\":" << i + 1 << ",\"name\":" << JsonString(info.programs[i]) << '}';
    json << "],\"outputs\":[";
    for (size_t k = 0; k < info.outputs.size(); ++k) {
        const OutputInfo& out = info.outputs[k];
        json << (k ? "," : "") << "{\"channel\":" << k + 1 << ",\"name\":" << JsonString(out.strName)
             << ",\"level\":" << out.nLevelDb << ",\"mute\":" << (out.bMute ? "true" : "false") << '}';
    }
    json << "]}\n";
    return json.str();
}

std::string Hex4(int nValue)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04x", nValue & 0xFFFF);
    return buffer;
}

}  // namespace

int RunDevices(CtlContext& ctx)
{
    const std::vector<HidDeviceInfo> devices = CHidTransport::Enumerate();
    if (devices.empty())
        return Refuse(ctx, "no processor attached on USB");
    if (ctx.inv.bJson)
        ctx.out << '[';
    for (size_t i = 0; i < devices.size(); ++i) {
        const HidDeviceInfo& d = devices[i];
        const bool bMayOpen = CHidTransport::MayOpen(d.strPath);
        if (ctx.inv.bJson) {
            ctx.out << (i ? "," : "") << "{\"path\":" << JsonString(d.strPath) << ",\"serial\":"
                    << JsonString(d.strSerial) << ",\"may_open\":" << (bMayOpen ? "true" : "false")
                    << ",\"vendor\":\"" << Hex4(d.nVendorId) << "\",\"product\":\"" << Hex4(d.nProductId)
                    << "\",\"release\":\"" << Hex4(d.nRelease) << "\",\"name\":" << JsonString(d.strProduct) << '}';
            continue;
        }
        ctx.out << d.strPath << "  serial " << (d.strSerial.empty() ? "-" : d.strSerial) << "  "
                << (bMayOpen ? "may open" : "no access: install the udev rule") << "  " << d.strProduct << '\n';
    }
    if (ctx.inv.bJson)
        ctx.out << "]\n";
    return kExitOk;
}

int RunInfo(CtlContext& ctx)
{
    return RunOnProcessor(ctx, [&](CCtlDevice& device, CKTV_Data& data, std::string* pResult) {
        const ProcessorInfo info = Collect(device, data);
        *pResult = ctx.inv.bJson ? InfoJson(info) : InfoText(info);
        return kExitOk;
    });
}
