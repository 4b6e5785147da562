#include "LinkTexts.h"

#include "GlobalData.h"

std::string LinkFailureText()
{
    return g_bChinese ? "连接失败  请检查USB线缆是否插好或重启计算机和设备后再尝试连接!" : "Connection failure!";
}

std::string UpdateFirmwareText()
{
    return g_bChinese ? "设备异常 请更新固件!!" : "Please Update the Firmware!";
}

std::string DataErrorText()
{
    return "数据错误!";  // the processor's makers kept this one in Chinese only
}

std::string UnConnectionText()
{
    return "UnConnection";  // English only
}

std::string FirmwareFailedText()
{
    return g_bChinese ? "更新固件失败！" : "The firmware update failed";
}

std::string FirmwareDoneText()
{
    return g_bChinese ? "固件更新完成!" : "Update successfully!";
}

// Status lines of the update that exist in English only.
std::string SearchingText()
{
    return "Searching......";
}

std::string ConnectedText()
{
    return "Connected";
}

std::string ErasingText()
{
    return "Erasing......";
}
