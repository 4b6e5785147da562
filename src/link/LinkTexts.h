// Messages of the link, in the language the user has chosen.
#pragma once

#include <string>

std::string LinkFailureText();
std::string UpdateFirmwareText();
std::string DataErrorText();
std::string UnConnectionText();
