#include "ListCtrlPrint.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "ReportTable.h"

namespace {

constexpr int kRowPadding = 4;       // device units added to the height of "X"
constexpr int kTextInset = 2;        // between a grid line and left- or right-aligned text
constexpr int kPageTextWidest = 999; // the page numbers measured for the header
constexpr double kMmPerInch = 25.4;
constexpr int kReportColumnWidth = 100;

QFont PrinterFont(const PrintFace& face, QPaintDevice* pDevice)
{
    QFont font(face.strFamily);
    font.setPointSize(face.nPoints);
    return QFont(font, pDevice);
}

// The list's texts keep Windows line ends; a line break is one "\n" here.
QString Lines(const QString& strText)
{
    QString str = strText;
    return str.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int WrappedHeight(const QFont& font, QPaintDevice* pDevice, int nWidth, const QString& strText)
{
    const QFontMetrics metrics(font, pDevice);
    return metrics.boundingRect(QRect(0, 0, std::max(nWidth, 1), 1 << 20), Qt::TextWordWrap, Lines(strText)).height();
}

std::vector<QStringList> RowsOf(const ReportTable& table)
{
    std::vector<QStringList> rows;
    rows.reserve(table.rows.size());
    for (const std::vector<std::string>& row : table.rows) {
        QStringList texts;
        for (const std::string& strCell : row)
            texts.append(QString::fromStdString(strCell));
        rows.push_back(texts);
    }
    return rows;
}

std::vector<PrintColumn> ColumnsOf(const ReportTable& table)
{
    std::vector<PrintColumn> columns;
    for (const std::string& strHeader : table.columns)
        columns.push_back({QString::fromStdString(strHeader), kReportColumnWidth, Qt::AlignHCenter});
    return columns;
}

}  // namespace

CListCtrlPrint::CListCtrlPrint(std::vector<PrintColumn> columns, std::vector<QStringList> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

CListCtrlPrint::CListCtrlPrint(const ReportTable& table) : CListCtrlPrint(ColumnsOf(table), RowsOf(table)) {}

int CListCtrlPrint::PageCount(int nItems, int nRowsPerPage)
{
    nRowsPerPage = std::max(nRowsPerPage, 1);
    const int nPages = nItems / nRowsPerPage + 1;
    return nItems > 0 && nItems % nRowsPerPage == 0 ? nPages - 1 : nPages;
}

bool CListCtrlPrint::OnPreparePrinting(QPrinter& printer, QWidget* pParent)
{
    if (m_rows.empty() || m_columns.empty())
        return false;
    return CPrinterJob::OnPreparePrinting(printer, pParent);
}

int CListCtrlPrint::OnBeginPrinting(QPainter& painter, QPagedPaintDevice& device)
{
    QPaintDevice* pDevice = painter.device();
    m_listFont = PrinterFont(m_listFace, pDevice);
    m_headerFont = PrinterFont(m_headerFace, pDevice);
    m_footerFont = PrinterFont(m_footerFace, pDevice);
    m_nRowHeight = QFontMetrics(m_listFont, pDevice).size(0, QStringLiteral("X")).height() + kRowPadding;

    const int nDpi = device.logicalDpiY();
    const int nMargin = static_cast<int>(m_nMarginMm * nDpi / kMmPerInch);
    const QRect page = device.pageLayout().fullRectPixels(nDpi);
    m_body = page.adjusted(nMargin, nMargin, -nMargin, -nMargin);

    // Running x positions scaled so that the last one is the printable width.
    m_columnX.assign(1, 0);
    for (const PrintColumn& column : m_columns)
        m_columnX.push_back(m_columnX.back() + std::max(column.nWidth, 0));
    const double dScale = m_columnX.back() > 0 ? double(m_body.width()) / m_columnX.back() : 0.0;
    for (int& nX : m_columnX)
        nX = static_cast<int>(nX * dScale);

    const QString strWidestPage =
        QString::asprintf(m_strPageFormat.toUtf8().constData(), kPageTextWidest, kPageTextWidest);
    m_nPageTextWidth = QFontMetrics(m_headerFont, pDevice).horizontalAdvance(strWidestPage);
    m_nHeaderHeight = std::max(WrappedHeight(m_headerFont, pDevice, m_nPageTextWidth, strWidestPage),
                               WrappedHeight(m_headerFont, pDevice, m_body.width() - m_nPageTextWidth, m_strHeader));
    m_nFooterHeight = WrappedHeight(m_footerFont, pDevice, m_body.width(), m_strFooter);
    const int nRowsSpace = m_body.height() - m_nHeaderHeight - m_nRowHeight - m_nFooterHeight;
    m_nRowsPerPage = std::max(nRowsSpace / (m_nRowHeight + 1) - 1, 1);
    m_nTablePages = PageCount(static_cast<int>(m_rows.size()), m_nRowsPerPage);
    m_handover = m_bHandover && m_handoverSource ? m_handoverSource() : std::vector<HandoverPage>();
    m_nPages = m_nTablePages + static_cast<int>(m_handover.size());
    return m_nPages;
}

bool CListCtrlPrint::OnPrintPage(QPainter& painter, int nPage)
{
    PrintHeader(painter, nPage);
    if (nPage > m_nTablePages) {
        const int nTop = m_body.top() + m_nHeaderHeight + m_nRowHeight;
        const QRect rcArea(m_body.left(), nTop, m_body.width(), m_body.bottom() - m_nFooterHeight - nTop);
        DrawHandoverPage(painter, rcArea, m_handover[static_cast<size_t>(nPage - m_nTablePages - 1)], m_headerFont);
        PrintFooter(painter);
        return true;
    }
    int nY = m_body.top() + m_nHeaderHeight;
    PrintColumnHeaders(painter, nY);
    const size_t nFirst = static_cast<size_t>(nPage - 1) * static_cast<size_t>(m_nRowsPerPage);
    const size_t nEnd = std::min(m_rows.size(), nFirst + static_cast<size_t>(m_nRowsPerPage));
    painter.setFont(m_listFont);
    for (size_t nRow = nFirst; nRow < nEnd; ++nRow) {
        nY += m_nRowHeight + 1;
        PrintRow(painter, m_rows[nRow], nY);
    }
    if (nEnd > nFirst)  // the line under the last row
        painter.drawLine(m_body.left(), nY + m_nRowHeight, m_body.left() + m_columnX.back(), nY + m_nRowHeight);
    PrintFooter(painter);
    return true;
}

void CListCtrlPrint::PrintFooter(QPainter& painter)
{
    painter.setFont(m_footerFont);
    painter.drawText(QRect(m_body.left(), m_body.bottom() - m_nFooterHeight, m_body.width(), m_nFooterHeight),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, Lines(m_strFooter));
}

QString CListCtrlPrint::PageText(int nPage) const
{
    return QString::asprintf(m_strPageFormat.toUtf8().constData(), nPage, m_nPages);
}

void CListCtrlPrint::PrintHeader(QPainter& painter, int nPage)
{
    painter.setFont(m_headerFont);
    painter.drawText(QRect(m_body.right() - m_nPageTextWidth, m_body.top(), m_nPageTextWidth, m_nHeaderHeight),
                     Qt::TextWordWrap | Qt::AlignRight | Qt::AlignTop, PageText(nPage));
    painter.drawText(QRect(m_body.left(), m_body.top(), m_body.width() - m_nPageTextWidth, m_nHeaderHeight),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, Lines(m_strHeader));
}

void CListCtrlPrint::PrintColumnHeaders(QPainter& painter, int nY)
{
    painter.setFont(m_listFont);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const QRect cell = CellRect(static_cast<int>(i), nY);
        painter.drawRect(cell);
        DrawCellText(painter, static_cast<int>(i), cell, m_columns[i].strHeader);
    }
}

// Grid lines to the left and above every cell, and the row's right edge.
void CListCtrlPrint::PrintRow(QPainter& painter, const QStringList& row, int nY)
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const QRect cell = CellRect(static_cast<int>(i), nY);
        painter.drawLine(cell.topLeft(), cell.bottomLeft());
        painter.drawLine(cell.topLeft(), cell.topRight());
        if (static_cast<qsizetype>(i) < row.size())
            DrawCellText(painter, static_cast<int>(i), cell, row[static_cast<qsizetype>(i)]);
    }
    const int nRight = m_body.left() + m_columnX.back();
    painter.drawLine(nRight, nY, nRight, nY + m_nRowHeight);
}

QRect CListCtrlPrint::CellRect(int nColumn, int nY) const
{
    const int nLeft = m_body.left() + m_columnX[static_cast<size_t>(nColumn)];
    const int nRight = m_body.left() + m_columnX[static_cast<size_t>(nColumn) + 1];
    return QRect(nLeft, nY, nRight - nLeft, m_nRowHeight);
}

void CListCtrlPrint::DrawCellText(QPainter& painter, int nColumn, const QRect& cell, const QString& strText)
{
    const Qt::Alignment align = m_columns[static_cast<size_t>(nColumn)].align;
    const Qt::Alignment horizontal = (align & Qt::AlignHCenter)  ? Qt::AlignHCenter
                                     : (align & Qt::AlignRight) ? Qt::AlignRight
                                                                 : Qt::AlignLeft;
    painter.drawText(cell.adjusted(kTextInset, 0, -kTextInset, 0), horizontal | Qt::AlignVCenter, strText);
}
