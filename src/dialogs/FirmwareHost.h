// What the Help dialog and the firmware update dialog need from the main
// form: the help document, the firmware file and the update's start and
// cancel, and the link whose transfer they show. The main view implements it.
//
// User-interface thread only.
#pragma once

#include <QString>

class CLinkSession;
class CProcessor;

class IFirmwareHost {
public:
    virtual ~IFirmwareHost() = default;

    virtual CLinkSession& Session() = 0;
    virtual CProcessor& Processor() = 0;
    // False (after telling the user) when no help document opens.
    virtual bool OpenHelp() = 0;
    // The firmware file last chosen; empty when none or after a refusal.
    virtual QString FirmwareFile() const = 0;
    // The chosen file, remembered; empty when cancelled.
    virtual QString BrowseFirmware() = 0;
    // False after the file's message, which also forgets the file.
    virtual bool UpdateFirmware(const QString& strPath) = 0;
    virtual void CancelFirmwareUpdate() = 0;
};
