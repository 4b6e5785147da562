#include "CtlRoomOptions.h"

#include "CtlText.h"
#include "GlobalData.h"

bool ParseOutputNumber(const std::string& strText, int* pChannel, std::string* pError)
{
    if (ParseWhole(strText, pChannel) && *pChannel >= 1 && *pChannel <= kOutputs)
        return true;
    *pError = "channel \"" + strText + "\" refused: outputs are 1 … 6";
    return false;
}
