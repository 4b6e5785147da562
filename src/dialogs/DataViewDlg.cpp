// The report window (template 102, System 8: dialog units of 2 × 2 px).
#include "DataViewDlg.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "AppGlobals.h"
#include "CFStatic.h"
#include "ControlName.h"
#include "DelayTable.h"
#include "FormHost.h"
#include "GridList.h"
#include "ListCtrlPrint.h"
#include "ProcessorState.h"
#include "ReportHeading.h"
#include "ReportTable.h"
#include "XlsxExport.h"

namespace {

constexpr int kWidthDlu = 377;
constexpr int kHeightDlu = 247;
constexpr int kRowHeight = 18;
constexpr int kListFontPx = 13;

QStringList Texts(const std::vector<std::string>& cells)
{
    QStringList texts;
    for (const std::string& strCell : cells)
        texts.append(QString::fromStdString(strCell));
    return texts;
}

std::vector<std::string> Cells(const QStringList& texts)
{
    std::vector<std::string> cells;
    for (const QString& strText : texts)
        cells.push_back(strText.toStdString());
    return cells;
}

QString WithReason(const QString& strMessage, const QString& strReason)
{
    return strReason.isEmpty() ? strMessage : strMessage + QStringLiteral("\n") + strReason;
}

}  // namespace

// Nothing in the report is typed in, so Esc closes it; Enter presses nothing.
CDataViewDlg::CDataViewDlg(CKTV_Data& data, IFormHost& host, QWidget* pParent)
    : CFormDialog(pParent, QStringLiteral("ctl102"), kSystemUnits.X(kWidthDlu), kSystemUnits.Y(kHeightDlu),
                  CCommitKeys::Escape::kCloses),
      m_data(data), m_host(host)
{
    setWindowTitle(Tr(kTxtReportTitle));
    QPushButton* pPrint = AddButton(kIdPrint, kTxtPrint, kSystemUnits.Rect(16, 7, 50, 12));
    QPushButton* pExport = AddButton(kIdExport, kTxtExportExcel, kSystemUnits.Rect(130, 7, 50, 12));
    connect(pPrint, &QPushButton::clicked, this, &CDataViewDlg::OnPrint);
    connect(pExport, &QPushButton::clicked, this, &CDataViewDlg::OnExport);
    CreateList();
}

// The values are taken once: the report shows the setup as it was when
// the window opened.
void CDataViewDlg::CreateList()
{
    const ReportTable table = BuildReportTable(m_data, g_nDelayUnit);
    const QStringList headers = Texts(table.columns);
    m_pList = new CGridList(static_cast<int>(table.rows.size()), headers,
                            std::vector<int>(static_cast<size_t>(headers.size()), kColumnWidth), kRowHeight, this);
    m_pList->setObjectName(ControlName(kIdList));
    m_pList->setGeometry(kSystemUnits.Rect(7, 21, 365, 218));
    m_pList->setFont(ArialFont(kListFontPx));
    for (size_t nRow = 0; nRow < table.rows.size(); ++nRow) {
        for (size_t nColumn = 0; nColumn < table.rows[nRow].size(); ++nColumn)
            m_pList->SetText(static_cast<int>(nRow), static_cast<int>(nColumn),
                             QString::fromStdString(table.rows[nRow][nColumn]));
    }
}

ReportTable CDataViewDlg::ListTable() const
{
    ReportTable table;
    QStringList headers;
    for (int nColumn = 0; nColumn < m_pList->columnCount(); ++nColumn)
        headers.append(m_pList->horizontalHeaderItem(nColumn)->text());
    table.columns = Cells(headers);
    for (int nRow = 0; nRow < m_pList->rowCount(); ++nRow) {
        QStringList row;
        for (int nColumn = 0; nColumn < m_pList->columnCount(); ++nColumn)
            row.append(m_pList->Text(nRow, nColumn));
        table.rows.push_back(Cells(row));
    }
    return table;
}

namespace {

// The graph's measurements, and the outputs of its sum while it shows one.
HandoverInput HandoverOfGraph(const CFStatic* pGraph)
{
    HandoverInput input;
    if (!pGraph)
        return input;
    for (int i = 0; i < kOutputs; ++i)
        input.rooms[static_cast<size_t>(i)] = pGraph->Measurement(i);
    if (pGraph->ShowsSum())
        input.sumOutputs = pGraph->SumMembers();
    return input;
}

}  // namespace

void CDataViewDlg::OnPrint()
{
    CListCtrlPrint job(ListTable());
    NameReport(job, LiveReportSubject(m_host.State(), m_host.IsConnected(), Tr(kTxtAppTitle)));
    job.m_dialogHook = m_printDialogHook;
    job.m_bHandover = m_bHandover;
    job.m_handoverSource = [this] { return BuildHandoverPages(m_data, HandoverOfGraph(m_host.Graph())); };
    job.m_makeOptionsTab = [this, &job] {
        auto* pBox = new QCheckBox(Tr(kTxtHandoverPages));
        pBox->setWindowTitle(Tr(kTxtReport));
        pBox->setChecked(m_bHandover);
        connect(pBox, &QCheckBox::toggled, this, [this, &job](bool bOn) { job.m_bHandover = m_bHandover = bOn; });
        return pBox;
    };
    const CPrinterJob::Result result = job.Print(this);
    if (result == CPrinterJob::Result::NotStarted)
        m_host.ShowMessage(Tr(kTxtPrintFailed));
    else if (result == CPrinterJob::Result::Failed)
        m_host.ShowMessage(WithReason(Tr(kTxtPrintIncomplete), job.m_strError));
}

// The save dialog asked about the name the user typed; a name that gets
// ".xlsx" only now may still be an existing file.
bool CDataViewDlg::MayReplace(const QString& strPath, bool bAsked)
{
    if (bAsked || !QFileInfo::exists(strPath))
        return true;
    return QMessageBox::question(this, Tr(kTxtAppTitle), Tr(kTxtReplaceQuestion).arg(strPath),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void CDataViewDlg::OnExport()
{
    if ((m_host.State().m_nDeviceType != 1 && m_host.State().m_nDeviceType != 2) || m_pList->rowCount() == 0)
        return;
    QString strPath = m_host.AskExportFile();
    if (strPath.isEmpty())
        return;
    const bool bAsked = strPath.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
    if (!bAsked)
        strPath += QStringLiteral(".xlsx");
    if (!MayReplace(strPath, bAsked))
        return;
    const XlsxResult written = ExportReportXlsx(QFile::encodeName(strPath).toStdString(), ListTable());
    if (!written.bOk)
        m_host.ShowMessage(WithReason(Tr(kTxtReplaceFileError), QString::fromStdString(written.strError)));
}
