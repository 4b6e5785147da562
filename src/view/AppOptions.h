// Command-line options of the editor.
#pragma once

#include <QString>
#include <QStringList>

struct CAppOptions {
    QString strDevice;       // usb, usb:PATH, usb:serial=S, tcp:HOST:PORT or virtual
    bool bChinese = false;   // --language zh
    bool bSplash = true;     // --nosplash turns the splash picture off
    bool bConnect = false;   // --connect: press Connect once the form is shown
    QString strVenue;        // --venue FILE: the Venue window of that file, once the form is shown
    bool bHelp = false;      // --help or -h: print the usage and end
    bool bVersion = false;   // --version: print the version and end
    QString strError;        // set when the arguments are not understood

    // Defaults: the device from ZR470_DEVICE, else usb.
    static CAppOptions Parse(const QStringList& args);
    static QString Usage();
    static QString Version();
};
