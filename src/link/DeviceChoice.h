// Which processor a session talks to, as the user names it on the command
// line of the editor and of zr470ctl (--device) or in $ZR470_DEVICE:
//   usb             the first processor found on USB
//   usb:PATH        the one at PATH, as `zr470ctl devices` lists it
//   usb:serial=S    the one that reports serial number S
//   tcp:HOST:PORT   reports over TCP (HOST may be empty: this machine;
//                   an IPv6 address goes in brackets)
//   virtual         the built-in virtual processor
//
// Threads: pure functions.
#pragma once

#include <string>

struct DeviceChoice {
    enum class Kind { Usb, Tcp, Virtual };
    Kind kind = Kind::Usb;
    std::string strUsbPath;    // usb:PATH
    std::string strUsbSerial;  // usb:serial=S
    std::string strHost;       // tcp
    int nPort = 0;             // tcp
};

// False with one line for the user when strDevice names no device kind or
// lacks a part (a TCP address without its port, an empty path or serial).
bool ParseDeviceChoice(const std::string& strDevice, DeviceChoice* pOut, std::string* pError);

// The forms above, for usage texts.
constexpr const char* kDeviceForms = "usb, usb:PATH, usb:serial=S, tcp:HOST:PORT or virtual";
