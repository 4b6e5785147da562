#include "AppOptions.h"

#include <QProcessEnvironment>

namespace {

bool TakeValue(const QStringList& args, int& i, const QString& strName, QString& strValue)
{
    const QString& arg = args[i];
    if (arg.startsWith(strName + "=")) {
        strValue = arg.mid(strName.size() + 1);
        return true;
    }
    if (arg == strName && i + 1 < args.size()) {
        strValue = args[++i];
        return true;
    }
    return false;
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
        } else if (TakeValue(args, i, "--language", strValue)) {
            if (strValue != "zh" && strValue != "en")
                options.strError = "--language takes en or zh";
            options.bChinese = strValue == "zh";
        } else if (args[i] == "--nosplash") {
            options.bSplash = false;
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
    return "usage: zr470 [--device usb|tcp:HOST:PORT|virtual] [--language en|zh] [--nosplash] [--connect]";
}
