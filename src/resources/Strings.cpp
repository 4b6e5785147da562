#include "Strings.h"

#include "GlobalData.h"

namespace {

// Indexed by TextId; the static_assert below keeps the two in step.
const TextPair kTexts[] = {
    {"ZR-470 Software", "ZR-470 Software"},
    {"OFF", "关闭"},
    {"Set Pos Error!", "设定Pos错误!"},
    {"Font could not be created!", "字体不能创建!"},
    {"Program", "程序"},
    {"System", "系统"},
    {"Report", "报告"},
    {"About", "关于"},
    {"Name", "  组名"},
    {"Data transmission", "数据传输"},
    {"Data transmission", "数据正在传输中"},
    {"End of data transmission", "数据传输结束"},
    {"Whether the reset EQ?", "Whether the reset EQ?"},
    {"L&&Front", "L&&Front"},
    {"C&&Front", "C&&Front"},
    {"R&&Front", "R&&Front"},
    {"C&&Rear", "C&&Rear"},
    {"High pass", "高通"},
    {"Low pass", "低通"},
    {"Freq", "频率"},
    {"Gain", "增益"},
    {"Q", "Q"},
    {"Type", "类型"},
    {"Slope", "斜率"},
    {"Crossover", "分频"},
    {"Output level", "输出电平"},
    {"Music", "音乐"},
    {"Listening position", "听音位置"},
    {"Output channels", "输出通道"},
    {"ByPass All EQ?", "旁路所有均衡？"},
    {"Restore All EQ?", "恢复所有均衡？"},
    {"Whether the PEQMode convert to GEQMode?", "Whether the PEQMode convert to GEQMode?"},
    {"Whether the GEQMode convert to PEQMode?", "Whether the GEQMode convert to PEQMode?"},
    {"Device Program", "设备程序"},
    {"ID:", "组号："},
    {"Name:", "组名："},
    {"ID", "ID"},
    {"Name", "组名"},
    {"Store", "存储"},
    {"Recall", "调用"},
    {"Delete", "删除"},
    {"PC Program", "电脑程序"},
    {"Recall all data from PC", "从电脑调用所有组数据"},
    {"Recall data from PC", "从电脑调用单组数据"},
    {"Store all data to PC", "存储所有组数据到电脑"},
    {"Store data to PC", "存储单组数据到电脑"},
    {"The name can not be empty!", "组名不能为空!"},
    {"The name can not be all spaces!", "组名不能全为空格!"},
    {"Have been the same name!", "已有相同的组名称!"},
    {"Are you delete this Data?", "是否删除本组数据?"},
    {"Help", "帮助"},
    {"Firmware Update", "设备固件更新"},
    {"Not Find Help File", "没有发现帮助文件!"},
    {"Device Firmware Update", "设备固件更新"},
    {"Update File", "Hex文件"},
    {"Hex File", "Hex文件"},
    {"Interface", "通信接口"},
    {"Browse", "浏览"},
    {"Update", "更新"},
    {"Quit", "退出"},
    {"Source", "Source"},
    {"NoiseGate", "NoiseGate"},
    {"CH%1  Limiter && Mix", "CH%1  Limiter && Mix"},
    {"DBu", "DBu"},
    {"At.Time", "At.Time"},
    {"Re.Time", "Re.Time"},
    {"Mix", "Mix"},
    {"Delay Manager", "延时管理"},
    {"Load measurement…", "载入测量…"},
    {"Clear measurement", "清除测量"},
    {"Import filters…", "导入滤波器…"},
    {"Export filters…", "导出滤波器…"},
    {"Write the filters in which syntax?", "以哪种格式写出滤波器？"},
    {"%1 bands imported into CH%2.", "已导入 %1 段到 CH%2。"},
    {"Approximations and skips:", "近似与跳过："},
    {"The output has no active bands to export.", "该输出没有可导出的有效频段。"},
    {"The file has filters for several channels. Import the filters of:", "该文件含有多个通道的滤波器。导入以下通道的滤波器："},
    {"All channels", "所有通道"},
    {"Report", "参数值显示"},
    {"Print", "打印"},
    {"Export Excel", "导出Excel"},
    {"Load", "导出"},
    {"Could not start print job.", "无法启动打印作业。"},
    {"Error while replacing the file!", "覆盖文件时出错!"},
    {"The report could not be printed completely.", "报告未能完整打印。"},
    {"%1 already exists.\nDo you want to replace it?", "%1 已存在。\n要替换它吗？"},
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == kTxtCount, "one text pair per TextId");

}  // namespace

const TextPair& TextOf(TextId id)
{
    return kTexts[id];
}

QString Tr(TextId id)
{
    const TextPair& text = kTexts[id];
    return QString::fromUtf8(g_bChinese ? text.szChinese : text.szEnglish);
}
