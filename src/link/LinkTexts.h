// Messages of the link, in the language the user has chosen.
#pragma once

#include <string>

std::string LinkFailureText();
std::string UpdateFirmwareText();
std::string DataErrorText();
std::string UnConnectionText();
std::string FirmwareFailedText();
std::string FirmwareDoneText();
std::string SearchingText();
std::string ConnectedText();
std::string ErasingText();
