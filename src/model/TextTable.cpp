#include "TextTable.h"

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
    {"Fit to measurement…", "按测量拟合…"},
    {"Fit to measurement", "按测量拟合"},
    {"Range (Hz)", "频率范围 (Hz)"},
    {"Bands at most", "最多频段数"},
    {"Largest boost (dB)", "最大提升 (dB)"},
    {"Deepest cut (dB)", "最大衰减 (dB)"},
    {"Target", "目标曲线"},
    {"Flat", "平直"},
    {"File…", "文件…"},
    {"Before: RMS %1 dB, max %2 dB", "拟合前：均方根 %1 dB，最大 %2 dB"},
    {"After: RMS %1 dB, max %2 dB", "拟合后：均方根 %1 dB，最大 %2 dB"},
    {"Fitting…", "正在拟合…"},
    {"Apply", "应用"},
    {"Cancel", "取消"},
    {"Report", "参数值显示"},
    {"Print", "打印"},
    {"Export Excel", "导出Excel"},
    {"Load", "导出"},
    {"Could not start print job.", "无法启动打印作业。"},
    {"Error while replacing the file!", "覆盖文件时出错!"},
    {"The report could not be printed completely.", "报告未能完整打印。"},
    {"%1 already exists.\nDo you want to replace it?", "%1 已存在。\n要替换它吗？"},
    {"Undo %1", "撤销 %1"},
    {"Redo %1", "重做 %1"},
    {"Undo", "撤销"},
    {"Redo", "重做"},
    {"History…", "历史记录…"},
    {"History", "历史记录"},
    {"Start", "起点"},
    {"CH%1 %2", "CH%1 %2"},
    {"CH%1 band %2 %3", "CH%1 第%2段 %3"},
    {"type", "类型"},
    {"frequency", "频率"},
    {"gain", "增益"},
    {"bypass", "旁通"},
    {"bandwidth", "带宽"},
    {"high-pass", "高通"},
    {"low-pass", "低通"},
    {"equalizer", "均衡器"},
    {"level", "电平"},
    {"mute", "静音"},
    {"polarity", "相位"},
    {"equalizer mode", "均衡模式"},
    {"mix", "混合"},
    {"limiter", "限幅器"},
    {"name", "名称"},
    {"Music", "音乐"},
    {"Link", "联动"},
    {"Delays", "延时"},
    {"Music source", "音源"},
    {"Edit", "编辑"},
    {"Recall program %1", "调用程序 %1"},
    {"Load %1", "载入 %1"},
    {"Import filters into CH%1", "导入滤波器到 CH%1"},
    {"Fit CH%1 to measurement", "CH%1 拟合测量"},
    {"Cannot read %1", "无法读取 %1"},
    {"Cannot write %1", "无法写入 %1"},
    {"%1 is larger than 4 MB: not a measurement or filter file", "%1 大于 4 MB：不是测量文件或滤波器文件"},
    {"The file is UTF-16 text: save it as UTF-8 and try again", "该文件是 UTF-16 文本：请另存为 UTF-8 后重试"},
    {"… and %1 more", "… 另有 %1 条"},
    {"line %1: ", "第 %1 行："},
    {"\"%1\" is not a number", "\"%1\" 不是数字"},
    {"The measurement does not cover 20 Hz … 20 kHz", "测量数据不在 20 Hz … 20 kHz 之内"},
    {"expected frequency, level and an optional phase", "应为频率、电平及可选的相位"},
    {"frequency %1 Hz is outside 1 Hz … 100 kHz", "频率 %1 Hz 超出 1 Hz … 100 kHz"},
    {"level %1 dB is outside ±500 dB", "电平 %1 dB 超出 ±500 dB"},
    {"the frequencies do not rise", "频率没有递增"},
    {"Not a measurement: fewer than two data lines", "不是测量文件：数据少于两行"},
    {"expected ON, OFF or None", "应为 ON、OFF 或 None"},
    {"unknown filter type \"%1\"", "未知的滤波器类型 \"%1\""},
    {"unexpected \"%1\"", "无法识别 \"%1\""},
    {"a slope needs \"dB\"", "斜率需要 \"dB\""},
    {"the slope is negative", "斜率为负"},
    {"a value is missing", "缺少数值"},
    {"the frequency is missing or outside 1 Hz … 100 kHz", "频率缺失或超出 1 Hz … 100 kHz"},
    {"Q and bandwidth must be positive", "Q 和带宽必须为正"},
    {"gain %1 dB is outside ±500 dB", "增益 %1 dB 超出 ±500 dB"},
    {"bandwidth %1 octaves is beyond the audio band's 10 octaves", "带宽 %1 倍频程超出音频范围的 10 个倍频程"},
    {"a peaking filter needs Q", "参量滤波器需要 Q"},
    {"expected \"Preamp: <gain> dB\"", "应为 \"Preamp: <增益> dB\""},
    {"\"%1\" not taken: only filters are imported", "\"%1\" 未导入：只导入滤波器"},
    {"%1 filters: the output has only 31 bands", "%1 个滤波器：输出只有 31 段"},
    {"Not a filter set: no \"Filter\" rows", "不是滤波器文件：没有 \"Filter\" 行"},
    {"No filters for channel \"%1\": the file has filters for %2", "没有通道 \"%1\" 的滤波器：文件中的通道为 %2"},
    {"1 filter", "1 个滤波器"},
    {"%1 filters", "%1 个滤波器"},
    {"the output takes the filters for all channels", "输出只导入所有通道共用的滤波器"},
    {"the output takes channel %1", "输出导入的是通道 %1"},
    {"\"Channel: %1\": %2 not taken: %3", "\"Channel: %1\"：%2未导入：%3"},
    {"slope", "斜率"},
    {"Q %1 → 12 dB/oct", "Q %1 → 12 dB/oct"},
    {": switched off, skipped", "：已关闭，跳过"},
    {": skipped, the processor has no such filter", "：跳过，处理器没有这种滤波器"},
    {"Preamp %1 dB not taken: set the output level instead", "前置增益 %1 dB 未导入：请调整输出电平"},
    {"band %1: ", "第 %1 段："},
    {"No measurement to fit", "没有可拟合的测量数据"},
    {"The range must lie within 20 Hz … 20 kHz, its low end below its high end", "频率范围须在 20 Hz … 20 kHz 之内，且下限低于上限"},
    {"The number of bands must be 1 … 31", "频段数须为 1 … 31"},
    {"The largest boost must be 0 … 20 dB and the deepest cut -20 … 0 dB", "最大提升须为 0 … 20 dB，最大衰减须为 -20 … 0 dB"},
    {"The measurement does not cover the range", "测量数据未覆盖该频率范围"},
    {"Save MusicFile Error!", "保存音乐文件错误!"},
    {"Read MusicFile  Error", "读音乐文件错误!"},
    {"save all MusicFile Error!", "保存所有音乐文件错误!"},
    {"Read all MusicFile Error", "读所有音乐文件错误!"},
    {"Save Mode File Error!", "保存模式文件错误!"},
    {"Read Mode File  Error", "读模式文件错误!"},
    {"Connection failure!", "连接失败  请检查USB线缆是否插好或重启计算机和设备后再尝试连接!"},
    {"Please Update the Firmware!", "设备异常 请更新固件!!"},
    {"数据错误!", "数据错误!"},
    {"UnConnection", "UnConnection"},
    {"The firmware update failed", "更新固件失败！"},
    {"Update successfully!", "固件更新完成!"},
    {"Searching......", "Searching......"},
    {"Connected", "Connected"},
    {"Erasing......", "Erasing......"},
    {"The firmware file does not exist!", "固件文件不存在!"},
    {"Hex File error!", "Hex文件错误!"},
    {"This is not a firmware update file!", "更新文件错误！"},
    {"char Len error!", "字符长度错误!"},
    {"Args", "参数"},
    {"Pol+", "正相"},
    {"Pol-", "反相"},
    {"Link_Ril", "宁克"},
    {"Bessel", "贝塞尔"},
    {"Butter_W", "巴特沃斯"},
    {"PEQ", "参量均衡"},
    {"Lo_Shf", "低架"},
    {"Hi_Shf", "高架"},
    {"ZR-470 parameter report", "ZR-470 参数报告"},
    {"Scene: %1", "场景：%1"},
    {"Processor: %1", "处理器：%1"},
    {"ZR-470 report – %1", "ZR-470 报告 – %1"},
    {"ZR-470 report", "ZR-470 报告"},
    {"Page %d of %d", "第 %d 页，共 %d 页"},
    {"Printed by %1 %2", "由 %1 %2 打印"},
    {"one to %1 measurement positions per output", "每个输出可有一至 %1 个测量位置"},
    {"filters only", "仅滤波器"},
    {"Sum", "叠加"},
    {"Magnitude", "幅度"},
    {"Phase", "相位"},
    {"Group delay", "群延时"},
    {"Sum of", "叠加的输出"},
    {"Keep as A", "保存为 A"},
    {"A from a preset file…", "从预设文件取 A…"},
    {"Difference B − A", "差值 B − A"},
    {"Clear A", "清除 A"},
    {"Add measurement position… (%1 of %2)", "添加测量位置…（%1/%2）"},
    {"Alignment advice", "对齐建议"},
    {"Apply alignment advice", "应用对齐建议"},
    {"Advice: %1 delay %2 ms, %3 %4; flatness %5 → %6 dB", "建议：%1 延时 %2 ms，%3 %4；平坦度 %5 → %6 dB"},
    {"Handover pages: the response graphs", "交付页：响应曲线"},
    {"Output %1 (%2): response", "输出 %1（%2）：响应"},
    {"Sum of outputs %1", "输出 %1 的叠加"},
    {"thick: the response; grey: measurement; dashed: prediction", "粗线：响应；灰线：测量；虚线：预测"},
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == kTxtCount, "one text pair per TextId");

}  // namespace

Language CurrentLanguage()
{
    return g_bChinese ? Language::Chinese : Language::English;
}

const TextPair& TextOf(TextId id)
{
    return kTexts[id];
}

const char* TextIn(Language language, const TextPair& pair)
{
    return language == Language::Chinese ? pair.szChinese : pair.szEnglish;
}

const char* TextIn(Language language, TextId id)
{
    return TextIn(language, kTexts[id]);
}

const char* TextNow(TextId id)
{
    return TextIn(CurrentLanguage(), id);
}

std::string SayIn(Language language, TextId id, std::initializer_list<std::string> args)
{
    return SayIn(language, id, std::span<const std::string>(args.begin(), args.size()));
}

std::string SayIn(Language language, TextId id, std::span<const std::string> args)
{
    const std::string strPattern = TextIn(language, id);
    std::string strOut;
    for (std::size_t i = 0; i < strPattern.size(); ++i) {
        const char c = strPattern[i];
        const std::size_t nArg = i + 1 < strPattern.size() ? static_cast<std::size_t>(strPattern[i + 1] - '1') : 99;
        if (c == '%' && nArg < args.size()) {
            strOut.append(args[nArg]);
            ++i;
        } else {
            strOut.push_back(c);
        }
    }
    return strOut;
}

std::string Say(TextId id, std::initializer_list<std::string> args)
{
    return SayIn(CurrentLanguage(), id, args);
}
