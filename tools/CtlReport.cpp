// report [--from FILE.ZR4C|FILE.ZR4AC] [--unit ms|inch|cm] [--xlsx OUT] [--pdf OUT]:
// the parameter report of the connected processor or of a preset file, as
// tab-separated text, JSON rows, a worksheet or a printed PDF.
#include <QGuiApplication>
#include <clocale>
#include <memory>

#include "CtlCommands.h"
#include "CtlRoomOptions.h"
#include "CtlText.h"
#include "DelayTable.h"
#include "KTV_Data.h"
#include "ListCtrlPrint.h"
#include "PresetFile.h"
#include "ReportTable.h"
#include "XlsxExport.h"

namespace {

struct ReportOptions {
    std::string strFrom;
    std::string strXlsx;
    std::string strPdf;
    int nUnit = kDelayUnitMs;
};

bool ParseReportOptions(const std::vector<std::string>& args, ReportOptions* pOut, std::string* pError)
{
    RoomOptions options;
    if (!SplitRoomOptions(args, 0, {}, {"--from", "--unit", "--xlsx", "--pdf"}, &options, pError))
        return false;
    pOut->strFrom = options.values["--from"];
    pOut->strXlsx = options.values["--xlsx"];
    pOut->strPdf = options.values["--pdf"];
    const std::string strUnit = ToLower(options.values.count("--unit") ? options.values["--unit"] : "ms");
    if (strUnit == "ms" || strUnit == "inch" || strUnit == "cm") {
        pOut->nUnit = strUnit == "ms" ? kDelayUnitMs : (strUnit == "inch" ? kDelayUnitInch : kDelayUnitCm);
        return true;
    }
    // Appended piece by piece: GCC 12 warns (-Wrestrict) on a chain that
    // starts with a literal.
    *pError = "--unit \"";
    *pError += strUnit;
    *pError += "\" refused: ms, inch or cm";
    return false;
}

// Printing needs a GUI application; without a desktop it draws offscreen.
// One is made for the print when the process has none, and ended with it,
// so that the font libraries are shut down cleanly.
class CPrintingApplication {
public:
    CPrintingApplication()
    {
        if (QCoreApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_pApp = std::make_unique<QGuiApplication>(m_nArgc, m_argv);
        std::setlocale(LC_NUMERIC, "C");  // the report's numbers keep their decimal point
    }

private:
    int m_nArgc = 1;
    char m_szName[9] = "zr470ctl";
    char* m_argv[2] = {m_szName, nullptr};
    std::unique_ptr<QGuiApplication> m_pApp;
};

std::string TableText(const ReportTable& table, bool bJson)
{
    auto line = [bJson](const std::vector<std::string>& cells) {
        std::string str;
        if (bJson)
            str += '[';
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i)
                str += bJson ? "," : "\t";
            str += bJson ? JsonString(cells[i]) : cells[i];
        }
        str += bJson ? ']' : '\n';
        return str;
    };
    if (!bJson) {
        std::string str = line(table.columns);
        for (const std::vector<std::string>& row : table.rows)
            str += line(row);
        return str;
    }
    std::string str = "{\"columns\":";
    str += line(table.columns);
    str += ",\"rows\":[";
    for (size_t i = 0; i < table.rows.size(); ++i) {
        if (i)
            str += ',';
        str += line(table.rows[i]);
    }
    str += "]}\n";
    return str;
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
        const CPrintingApplication application;
        CListCtrlPrint job(table);
        if (job.PrintToPdf(QString::fromStdString(options.strPdf)) != CPrinterJob::Result::Printed)
            return Refuse(ctx, options.strPdf + ": the PDF could not be written");
    }
    if (options.strXlsx.empty() && options.strPdf.empty())
        *pResult = TableText(table, ctx.inv.bJson);
    return kExitOk;
}

bool LoadPresetFile(CKTV_Data& data, const std::string& strPath, std::string* pError)
{
    const bool bAllScenes = strPath.ends_with(kAllScenesFileExt);
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
    ReportOptions options;
    std::string strError;
    if (!ParseReportOptions(ctx.inv.args, &options, &strError))
        return Refuse(ctx, strError);
    if (options.strFrom.empty()) {
        return RunOnProcessor(ctx, [&](CCtlDevice&, CKTV_Data& data, std::string* pResult) {
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
