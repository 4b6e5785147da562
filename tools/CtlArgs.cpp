#include "CtlArgs.h"

#include "CtlVersion.h"
#include "DeviceChoice.h"
#include "NumberText.h"

namespace {

constexpr const char* kDeviceOption = "--device";
constexpr const char* kJsonOption = "--json";
constexpr const char* kHelpOption = "--help";
constexpr const char* kHelpShort = "-h";
constexpr const char* kVersionOption = "--version";
constexpr const char* kEmulate = "emulate";

struct ValueOption {
    const char* pName;
    std::string CtlInvocation::*pField;
    const char* pValues;  // after "needs a value" in the refusal
};

const ValueOption kValueOptions[] = {
    {kDeviceOption, &CtlInvocation::strDevice, kDeviceForms},
    {"--venue", &CtlInvocation::strVenue, "a venue file"},
    {"--room", &CtlInvocation::strRoom, "a room's name"},
    {"--rooms", &CtlInvocation::strRooms, "room names separated by commas"},
};

// An option with a value at args[*pIndex], as "--name VALUE" or
// "--name=VALUE" (a missing value is empty); false when it is none.
bool TakeValueOption(const std::vector<std::string>& args, size_t* pIndex, const ValueOption** ppOption,
                     std::string* pValue)
{
    const std::string& strArg = args[*pIndex];
    for (const ValueOption& option : kValueOptions) {
        const std::string strPrefix = std::string(option.pName) + "=";
        if (strArg.rfind(strPrefix, 0) == 0)
            *pValue = strArg.substr(strPrefix.size());
        else if (strArg == option.pName)
            *pValue = *pIndex + 1 < args.size() ? args[++*pIndex] : "";
        else
            continue;
        *ppOption = &option;
        return true;
    }
    return false;
}

// One global option at args[*pIndex]; false when it is not one. A
// malformed one sets *pError.
bool TakeGlobalOption(const std::vector<std::string>& args, size_t* pIndex, CtlInvocation* pOut,
                      std::string* pError)
{
    const std::string& strArg = args[*pIndex];
    if (strArg == kJsonOption) {
        pOut->bJson = true;
        return true;
    }
    if (strArg == kHelpOption || strArg == kHelpShort) {
        pOut->bHelp = true;
        return true;
    }
    if (strArg == kVersionOption) {
        pOut->bVersion = true;
        return true;
    }
    const ValueOption* pOption = nullptr;
    std::string strValue;
    if (!TakeValueOption(args, pIndex, &pOption, &strValue))
        return false;
    pOut->*pOption->pField = strValue;
    if (strValue.empty())
        *pError = std::string(pOption->pName) + " needs a value: " + pOption->pValues;
    else if (DeviceChoice choice; pOption->pField == &CtlInvocation::strDevice &&
                                  !ParseDeviceChoice(strValue, &choice, pError))
        *pError = "--device: " + *pError;
    return true;
}

}  // namespace

bool ParseInvocation(const std::vector<std::string>& args, const char* pEnvDevice, CtlInvocation* pOut,
                     std::string* pError)
{
    CtlInvocation inv;
    if (pEnvDevice && *pEnvDevice)
        inv.strDevice = pEnvDevice;
    std::string strError;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool bEmulateArgs = inv.strCommand == kEmulate;
        if (!bEmulateArgs && TakeGlobalOption(args, &i, &inv, &strError)) {
            if (!strError.empty()) {
                *pError = strError;
                return false;
            }
            continue;
        }
        if (inv.strCommand.empty()) {
            if (args[i].rfind("--", 0) == 0) {
                *pError = "unknown option " + EchoText(args[i]);
                return false;
            }
            inv.strCommand = args[i];
        } else {
            inv.args.push_back(args[i]);
        }
    }
    if (inv.strCommand.empty() && !inv.bHelp && !inv.bVersion) {
        *pError = "no command given";
        return false;
    }
    *pOut = std::move(inv);
    return true;
}

bool CheckDeviceToOpen(const CtlInvocation& inv, std::string* pError)
{
    if (DeviceChoice choice; !ParseDeviceChoice(inv.strDevice, &choice, pError)) {
        // --device is checked as it is read: only the environment is left.
        *pError = "ZR470_DEVICE: " + *pError;
        return false;
    }
    return true;
}

const char* UsageText()
{
    return "usage: zr470ctl [--device usb|usb:PATH|usb:serial=S|tcp:HOST:PORT|virtual] [--json] COMMAND\n"
           "       zr470ctl --venue FILE [--rooms A,B,...] [--json] VENUE-COMMAND\n"
           "       zr470ctl --venue FILE --room NAME [--json] COMMAND\n"
           "       zr470ctl --help | -h | --version\n"
           "  devices                      list the processors attached on USB\n"
           "  info                         identification, programs, scene name and outputs\n"
           "  read-scene F.ZR4C            save the live settings into a scene file\n"
           "  write-scene F.ZR4C           send a scene file to the live settings\n"
           "  backup F.ZR4AC               save programs 1..10 and the live settings into a file\n"
           "  restore F.ZR4AC              send an all-scenes file to the processor\n"
           "  store N NAME                 store the live settings as program N (1..10)\n"
           "  recall N                     recall program N into the live settings\n"
           "  delete N                     delete the name of program N\n"
           "  get CH PARAM                 print a parameter (CH 1..6 an output, 0 the processor)\n"
           "  set CH PARAM VALUE           change a parameter\n"
           "  firmware F.bin               update the processor's firmware from a file\n"
           "  response F.ZR4C CH [--measurement FILE] [--phase] [--group-delay]\n"
           "                               offline: the 241-point response of output CH; with a\n"
           "                               measurement (REW text or FRD) the predicted response;\n"
           "                               --phase, --group-delay add the chain's degrees and ms\n"
           "  response F.ZR4C --sum CH,CH[,...] [--measurement FILE,FILE[,...]]\n"
           "                               offline: the outputs' complex sum (dB, degrees)\n"
           "  align F.ZR4C CH CH [--measurement FILE,FILE]\n"
           "                               offline: the delay and polarity that make the pair's sum\n"
           "                               flattest around its crossover\n"
           "  eq-import CH FILE [--dry-run] [--link CH,...] [--channel NAME]\n"
           "                               put a filter set (REW or Equalizer APO) into output CH's\n"
           "                               bands; prints the mapping, approximations and skips;\n"
           "                               --channel takes one channel of an APO file\n"
           "  eq-fit CH MEASUREMENT... [--target FILE] [--range LO-HI] [--bands N] [--max-boost DB]\n"
           "         [--max-cut DB] [--dry-run] [--link CH,...] [--from F.ZR4C [--save OUT.ZR4C [--force]]]\n"
           "                               fit output CH's bands to a measurement, or the power average\n"
           "                               of up to 8 positions (flat or the target\n"
           "                               curve, 20-500 Hz, 10 bands, 0 dB boost, -20 dB cut unless\n"
           "                               given; the limits hold on the bands' sum) and apply them as\n"
           "                               eq-import does; prints the bands and the residual before and\n"
           "                               after; --from fits a scene file, --force lets --save replace it\n"
           "  eq-export CH [--format apo|rew]  print output CH's active bands as a filter set\n"
           "  report [--from F.ZR4C|F.ZR4AC] [--unit ms|inch|cm] [--xlsx OUT.xlsx] [--pdf OUT.pdf]\n"
           "         [--language en|zh] [--handover [--sum CH,CH]]\n"
           "                               every parameter of the six outputs (174 rows): of the\n"
           "                               processor or a file, as text, JSON, a worksheet or a PDF;\n"
           "                               --handover adds each output's response graph and the sum\n"
           "                               to the PDF\n"
           "  emulate --listen [HOST:]PORT | --hidg /dev/hidgN --gadget DIR\n"
           "          [--drop-every N] [--corrupt-every N] [--resend-every N] [--delay-ms D]\n"
           "          [--silent-after N] [--empty-reply-on ITEM] [--wrong-id TEXT] [--unplug-after N]\n"
           "                               serve a virtual processor over TCP or on a USB HID gadget\n"
           "  demo                         tune output 1 of a fresh model, show the frames\n"
           "  batch FILE|- [--keep-going]  run the commands of a script (- standard input) over one\n"
           "                               connection\n"
           "venue commands, on every room of the venue file at once (or those of --rooms):\n"
           "  rooms                        list the rooms and their devices\n"
           "  status                       each room: online or why not, identification, scene name,\n"
           "                               programs 1..10, how long it took to answer\n"
           "  backup DIR                   one .ZR4AC per room into DIR, and DIR/manifest.json\n"
           "  push F.ZR4C|F.ZR4AC (--rooms A,B,...|--all)\n"
           "                               send the file, read it back and compare: each room verified,\n"
           "                               or failed with the reason and what it holds now\n"
           "  diff A B                     the parameters that differ between two rooms or a room and a\n"
           "                               file (exit 0 the same, 1 different, 2 trouble)\n"
           "  with --venue FILE, --room NAME makes that room's device the device of a one-processor command\n"
           "parameters of an output: level mute polarity eqmode mix eqN.freq eqN.gain eqN.bw\n"
           "  eqN.bypass (N 1..31) hpf.freq hpf.type hpf.slope lpf.freq lpf.type lpf.slope\n"
           "  limiter.threshold limiter.attack limiter.release delay.P (P 1..4)\n"
           "parameters of the processor (CH 0): source noisegate volume position\n";
}

std::string VersionText()
{
    return "zr470ctl " + std::string(kCtlVersion);
}
