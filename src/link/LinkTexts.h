// Messages of the link, from the text table in the language the user has
// chosen.
#pragma once

#include <string>

// What a message is for: the view picks the kind of message box by it.
enum class MessageKind {
    kNotice,       // a box the user closes
    kLinkFailure,  // the link has ended; an unattended installation must not wait on it
};

std::string LinkFailureText();
std::string UpdateFirmwareText();
std::string DataErrorText();
std::string UnConnectionText();
std::string FirmwareFailedText();
std::string FirmwareDoneText();
std::string SearchingText();
std::string ConnectedText();
std::string ErasingText();
