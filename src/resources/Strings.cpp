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
