// report [--from FILE.ZR4C|FILE.ZR4AC] [--unit ms|inch|cm] [--xlsx OUT] [--pdf OUT]:
// the parameter report of the connected processor or of a preset file, as
// tab-separated text, JSON rows, a worksheet or a printed PDF.
#include <QFile>
#include <QGuiApplication>
#include <clocale>
#include <filesystem>
#include <memory>
#include <vector>

#include "CtlCommands.h"
#include "CtlJson.h"
#include "CtlRoomOptions.h"
#include "DelayTable.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "ListCtrlPrint.h"
#include "PresetFile.h"
#include "ReportHeading.h"
#include "ReportTable.h"
#include "XlsxExport.h"

namespace {

struct ReportOptions {
    std::string strFrom;
    std::string strXlsx;
    std::string strPdf;
    int nUnit = kDelayUnitMs;
    bool bChinese = false;
    bool bHandover = false;       // the graph pages after the table
    std::vector<int> sumOutputs;  // 0 … 5: the sum page's outputs, or none
};

// The options as the command table checked them (--unit is ms, inch or cm).
ReportOptions ReportOptionsOf(const CommandLine& line)
{
    const auto value = [&line](const char* pName) {
        const auto found = line.values.find(pName);
        return found == line.values.end() ? std::string() : found->second;
    };
    ReportOptions options;
    options.strFrom = value("--from");
    options.strXlsx = value("--xlsx");
    options.strPdf = value("--pdf");
    const std::string strUnit = value("--unit");
    options.nUnit = strUnit == "inch" ? kDelayUnitInch : strUnit == "cm" ? kDelayUnitCm : kDelayUnitMs;
    options.bChinese = value("--language") == "zh";
    options.bHandover = line.flags.count("--handover") > 0;
    return options;
}

// --sum CH,CH of the handover report; false with *pError.
bool ParseHandover(const CommandLine& line, ReportOptions* pOptions, std::string* pError)
{
    if (pOptions->bHandover && pOptions->strPdf.empty()) {
        *pError = "report: --handover adds pages to the PDF: give --pdf";
        return false;
    }
    if (!line.values.count("--sum"))
        return true;
    if (!pOptions->bHandover) {
        *pError = "report: --sum belongs to --handover";
        return false;
    }
    if (!ParseOutputList(SplitCommas(line.values.at("--sum")), &pOptions->sumOutputs, pError))
        return false;
    for (int& nOutput : pOptions->sumOutputs)
        --nOutput;
    return true;
}

// Both outputs written to one file would leave only the second, without a word.
bool SameOutputFile(const ReportOptions& options)
{
    if (options.strXlsx.empty() || options.strPdf.empty())
        return false;
    std::error_code ecXlsx;
    std::error_code ecPdf;
    const std::filesystem::path xlsx = std::filesystem::weakly_canonical(options.strXlsx, ecXlsx);
    const std::filesystem::path pdf = std::filesystem::weakly_canonical(options.strPdf, ecPdf);
    return ecXlsx || ecPdf ? options.strXlsx == options.strPdf : xlsx == pdf;
}

// The report's language for this command only: a batch goes on in English.
class CReportLanguage {
public:
    explicit CReportLanguage(bool bChinese) : m_nPrevious(g_bChinese) { g_bChinese = bChinese ? 1 : 0; }
    ~CReportLanguage() { g_bChinese = m_nPrevious; }
    CReportLanguage(const CReportLanguage&) = delete;
    CReportLanguage& operator=(const CReportLanguage&) = delete;

private:
    int m_nPrevious;
};

// Printing needs a GUI application. The command makes its own on the
// offscreen platform, whatever the environment names (a desktop platform
// without a display would abort the process), and ends it with the print so
// that the font libraries are shut down cleanly. Qt's own chatter (such as
// the XDG_RUNTIME_DIR warning) is kept back and shown only when the print
// fails.
class CPrintingApplication {
public:
    CPrintingApplication()
    {
        if (QCoreApplication::instance())
            return;
        s_messages.clear();
        m_previousHandler = qInstallMessageHandler(&CPrintingApplication::KeepMessage);
        m_pApp = std::make_unique<QGuiApplication>(m_nArgc, m_argv);
        std::setlocale(LC_NUMERIC, "C");  // the report's numbers keep their decimal point
    }
    ~CPrintingApplication()
    {
        if (!m_pApp)
            return;
        m_pApp.reset();
        qInstallMessageHandler(m_previousHandler);
    }
    CPrintingApplication(const CPrintingApplication&) = delete;
    CPrintingApplication& operator=(const CPrintingApplication&) = delete;

    // What Qt said during the print, one message a line.
    static std::string Messages()
    {
        std::string str;
        for (const std::string& strMessage : s_messages)
            str += "\n" + strMessage;
        return str;
    }

private:
    static void KeepMessage(QtMsgType, const QMessageLogContext&, const QString& strMessage)
    {
        s_messages.push_back(strMessage.toStdString());
    }

    static inline std::vector<std::string> s_messages;
    int m_nArgc = 3;
    char m_szName[9] = "zr470ctl";
    char m_szPlatformOption[10] = "-platform";
    char m_szPlatform[10] = "offscreen";
    char* m_argv[4] = {m_szName, m_szPlatformOption, m_szPlatform, nullptr};
    QtMessageHandler m_previousHandler = nullptr;
    std::unique_ptr<QGuiApplication> m_pApp;
};

std::string TableText(const ReportTable& table, bool bJson)
{
    if (bJson)
        return JsonLine({{"columns", table.columns}, {"rows", table.rows}});
    auto line = [](const std::vector<std::string>& cells) {
        std::string str;
        for (size_t i = 0; i < cells.size(); ++i)
            str += (i ? "\t" : "") + cells[i];
        return str + '\n';
    };
    std::string str = line(table.columns);
    for (const std::vector<std::string>& row : table.rows)
        str += line(row);
    return str;
}

// The printout names the preset file it was made from, or the live scene
// and the processor it was read from.
ReportSubject SubjectOf(CKTV_Data& data, const ReportOptions& options)
{
    const QString strProgram = QStringLiteral("zr470ctl");
    if (options.strFrom.empty())
        return LiveReportSubject(data.State(), true, strProgram);
    ReportSubject subject;
    subject.strProgram = strProgram;
    subject.strScene = QFile::decodeName(std::filesystem::path(options.strFrom).filename().c_str());
    return subject;
}

int WritePdf(CtlContext& ctx, const ReportOptions& options, CKTV_Data& data, const ReportTable& table)
{
    const CPrintingApplication application;
    CListCtrlPrint job(table);
    NameReport(job, SubjectOf(data, options));
    job.m_bHandover = options.bHandover;
    job.m_handoverSource = [&data, &options] {
        HandoverInput input;
        input.sumOutputs = options.sumOutputs;
        return BuildHandoverPages(data, input);
    };
    if (job.PrintToPdf(QFile::decodeName(options.strPdf.c_str())) == CPrinterJob::Result::Printed)
        return kExitOk;
    std::string strError = options.strPdf + ": the PDF could not be written";
    if (!job.m_strError.isEmpty())
        strError += " (" + job.m_strError.toStdString() + ")";
    return Refuse(ctx, strError + CPrintingApplication::Messages());
}

int WriteReport(CtlContext& ctx, const ReportOptions& options, CKTV_Data& data, std::string* pResult)
{
    const ReportTable table = BuildReportTable(data, options.nUnit);
    if (!options.strXlsx.empty()) {
        const XlsxResult written = ExportReportXlsx(options.strXlsx, table);
        if (!written.bOk)
            return Refuse(ctx, options.strXlsx + ": " + written.strError);
    }
    if (!options.strPdf.empty()) {
        if (const int nExit = WritePdf(ctx, options, data, table); nExit != kExitOk)
            return nExit;
    }
    if (options.strXlsx.empty() && options.strPdf.empty())
        *pResult = TableText(table, ctx.inv.bJson);
    return kExitOk;
}

bool LoadPresetFile(CKTV_Data& data, const std::string& strPath, std::string* pError)
{
    const bool bAllScenes = HasPresetExtension(strPath, kAllScenesFileExt);
    const PresetFileResult loaded = bAllScenes ? LoadAllScenesFile(data, strPath) : LoadSceneFile(data, strPath);
    if (bAllScenes && loaded.bOk && !loaded.bModelLoaded) {
        *pError = "the older all-scenes file holds no live settings (" + strPath + ")";
        return false;
    }
    const PresetFileError error = bAllScenes ? PresetFileError::ReadAllScenes : PresetFileError::ReadScene;
    *pError = std::string(PresetFileErrorText(error)) + " (" + strPath + ")";
    return loaded.bOk;
}

}  // namespace

int RunReport(CtlContext& ctx)
{
    ReportOptions options = ReportOptionsOf(ctx.line);
    std::string strHandoverError;
    if (!ParseHandover(ctx.line, &options, &strHandoverError))
        return Refuse(ctx, strHandoverError);
    if (SameOutputFile(options))
        return Refuse(ctx, "report: --xlsx and --pdf name the same file " + options.strPdf + ": name two files");
    const CReportLanguage language(options.bChinese);
    std::string strError;
    if (options.strFrom.empty()) {
        return RunOnProcessor(ctx, [&](CProcessorConversation&, CKTV_Data& data, std::string* pResult) {
            return WriteReport(ctx, options, data, pResult);
        });
    }
    CKTV_Data data;
    if (!LoadPresetFile(data, options.strFrom, &strError))
        return Refuse(ctx, strError);
    std::string strResult;
    const int nExit = WriteReport(ctx, options, data, &strResult);
    ctx.out << strResult;
    return nExit;
}
