// Notifications from the core to the main view. The numbers are the view's
// message identifiers; the GUI turns a Post into a queued event, tests
// record them. Any thread may post; nothing here touches a window.
#pragma once

#include <cstdint>

enum NotifyMsg : int {
    kMsgBandChanged = 1124,      // graph: a band was dragged (band, source)
    kMsgLiveReadDone = 1134,     // output 5 of the live settings received (wParam preset)
    kMsgAllScenesRead = 1135,    // output 5 of scene program 10 received with mode 0x77
    kMsgDelayTable = 1136,       // system item 64 (or 51) received
    kMsgLevels = 1137,           // level readings received
    kMsgEffectRecalled = 1143,   // an effect program was recalled (wParam preset)
    kMsgAllEffectsRead = 1144,   // effect program 40 received with mode 0x77
    kMsgVariant = 1146,          // system item 52 (wParam first payload byte)
    kMsgBatchProgress = 1174,    // a batch has been answered (lParam 1 write, 0 read)
    kMsgFirmwareDone = 1175,
    kMsgUsbFailure = 1178,       // the link failed: read time-out, write failure, device gone
    kMsgEmptyReply = 1184,       // a data reply without payload
    kMsgIdentification = 1185,   // system item 4 received
    kMsgSceneName = 1186,        // the live scene name was blanked and sent
    // Our own: a text the user-interface thread shows in a message box,
    // because the link thread never opens a window itself.
    kMsgDataError = 1190,        // a command was queued again after more than 10 attempts
    kMsgFirmwareStatus = 1191,   // the update's status text or progress changed
};

class INotifySink {
public:
    virtual ~INotifySink() = default;
    virtual void Post(int nMsg, intptr_t wParam, intptr_t lParam) = 0;
};
