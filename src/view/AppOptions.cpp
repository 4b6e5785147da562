#include "AppOptions.h"

#include <QProcessEnvironment>

#include "DeviceChoice.h"

namespace {

bool TakeValue(const QStringList& args, int& i, const QString& strName, QString& strValue)
{
    const QString& arg = args[i];
    if (arg.startsWith(strName + "=")) {
        strValue = arg.mid(strName.size() + 1);
        return true;
    }
    if (arg == strName) {
        strValue = i + 1 < args.size() ? args[++i] : QString();
        return true;
    }
    return false;
}

// Empty when strDevice names a device; else why not.
QString DeviceProblem(const QString& strDevice)
{
    if (strDevice.isEmpty())
        return QString("--device needs a value: ") + kDeviceForms;
    DeviceChoice choice;
    std::string strError;
    if (!ParseDeviceChoice(strDevice.toStdString(), &choice, &strError))
        return "--device: " + QString::fromStdString(strError);
    return {};
}

}  // namespace

CAppOptions CAppOptions::Parse(const QStringList& args)
{
    CAppOptions options;
    options.strDevice = QProcessEnvironment::systemEnvironment().value("ZR470_DEVICE", "usb");
    for (int i = 1; i < args.size(); ++i) {
        QString strValue;
        if (TakeValue(args, i, "--device", strValue)) {
            options.strDevice = strValue;
            if (const QString strProblem = DeviceProblem(strValue); !strProblem.isEmpty())
                options.strError = strProblem;
        } else if (args[i] == "--help" || args[i] == "-h") {
            options.bHelp = true;
        } else if (args[i] == "--version") {
            options.bVersion = true;
        } else if (TakeValue(args, i, "--language", strValue)) {
            if (strValue != "zh" && strValue != "en")
                options.strError = "--language takes en or zh";
            options.bChinese = strValue == "zh";
        } else if (args[i] == "--nosplash") {
            options.bSplash = false;
        } else if (TakeValue(args, i, "--venue", strValue)) {
            options.strVenue = strValue;
            if (strValue.isEmpty())
                options.strError = "--venue needs a venue file";
        } else if (args[i] == "--connect") {
            options.bConnect = true;
        } else {
            options.strError = "unknown argument '" + args[i] + "'";
        }
    }
    return options;
}

QString CAppOptions::Usage()
{
    return "usage: zr470 [--device usb|usb:PATH|usb:serial=S|tcp:HOST:PORT|virtual] [--language en|zh] "
           "[--nosplash] [--connect] [--venue FILE]\n"
           "       zr470 --help | -h | --version";
}

QString CAppOptions::Version()
{
    return "zr470 " ZR470_VERSION;
}
