#include "LinkTexts.h"

#include "TextTable.h"

std::string LinkFailureText()
{
    return TextNow(kTxtLinkFailure);
}

std::string UpdateFirmwareText()
{
    return TextNow(kTxtUpdateFirmware);
}

std::string DataErrorText()
{
    return TextNow(kTxtDataError);  // the processor's makers kept this one in Chinese only
}

std::string UnConnectionText()
{
    return TextNow(kTxtUnConnection);  // English only
}

std::string FirmwareFailedText()
{
    return TextNow(kTxtFirmwareFailed);
}

std::string FirmwareDoneText()
{
    return TextNow(kTxtFirmwareDone);
}

// Status lines of the update that exist in English only.
std::string SearchingText()
{
    return TextNow(kTxtSearching);
}

std::string ConnectedText()
{
    return TextNow(kTxtConnected);
}

std::string ErasingText()
{
    return TextNow(kTxtErasing);
}
