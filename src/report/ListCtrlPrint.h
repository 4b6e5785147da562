// Prints a list as a table: on every page a header (the header text and
// "Page n of N"), the column-header row, as many rows as fit with grid lines,
// and a footer. Column widths are scaled to the printable width.
//
// The fields start with the parameter report's layout and fonts; the texts
// that name the report come from NameReport (ReportHeading.h). Set any of
// them before printing. Threads: as CPrinterJob.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>
#include <vector>

#include "HandoverPages.h"
#include "PrinterJob.h"

struct ReportTable;

struct PrintColumn {
    QString strHeader;
    int nWidth = 100;                          // the list's width: only the proportions count
    Qt::Alignment align = Qt::AlignHCenter;
};

struct PrintFace {
    QString strFamily;
    int nPoints = 8;
};

class CListCtrlPrint : public CPrinterJob {
public:
    CListCtrlPrint(std::vector<PrintColumn> columns, std::vector<QStringList> rows);
    // A report table as its list shows it: 100-pixel centred columns.
    explicit CListCtrlPrint(const ReportTable& table);

    // number of pages = rows ÷ rows per page + 1, less the page that would
    // be left empty when the rows fill the last page exactly.
    static int PageCount(int nItems, int nRowsPerPage);
    int RowsPerPage() const { return m_nRowsPerPage; }
    int Pages() const { return m_nPages; }

    // Lines end in "\r\n" as the list's texts do; NameReport fills them.
    QString m_strHeader;
    QString m_strFooter;
    QString m_strPageFormat = QStringLiteral("Page %d of %d");  // page, pages
    int m_nMarginMm = 10;
    PrintFace m_listFace{QStringLiteral("Arial"), 8};
    PrintFace m_headerFace{QStringLiteral("Arial"), 12};
    PrintFace m_footerFace{QStringLiteral("Times New Roman"), 6};
    // The handover report: with it the graph pages follow the table, under
    // the same header and footer; they are built when printing starts.
    bool m_bHandover = false;
    std::function<std::vector<HandoverPage>()> m_handoverSource;

protected:
    bool OnPreparePrinting(QPrinter& printer, QWidget* pParent) override;
    int OnBeginPrinting(QPainter& painter, QPagedPaintDevice& device) override;
    bool OnPrintPage(QPainter& painter, int nPage) override;

private:
    QString PageText(int nPage) const;
    void PrintHeader(QPainter& painter, int nPage);
    void PrintFooter(QPainter& painter);
    void PrintColumnHeaders(QPainter& painter, int nY);
    void PrintRow(QPainter& painter, const QStringList& row, int nY);
    QRect CellRect(int nColumn, int nY) const;
    void DrawCellText(QPainter& painter, int nColumn, const QRect& cell, const QString& strText);

    std::vector<PrintColumn> m_columns;
    std::vector<QStringList> m_rows;
    // Measured for the printer at the start of the print (device units).
    QFont m_listFont, m_headerFont, m_footerFont;
    QRect m_body;                  // the page inside the margins
    std::vector<int> m_columnX;    // running x positions, the last one the printable width
    int m_nRowHeight = 0;          // list font: the height of "X" plus 4
    int m_nHeaderHeight = 0;
    int m_nPageTextWidth = 0;
    int m_nFooterHeight = 0;
    int m_nRowsPerPage = 1;
    int m_nPages = 0;
    int m_nTablePages = 0;
    std::vector<HandoverPage> m_handover;
};
