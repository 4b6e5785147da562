#include "GridList.h"

#include <QEvent>
#include <QHeaderView>

namespace {

const QColor kListBackground(0xF7, 0xF7, 0xFF);
const QColor kListText(0x00, 0x00, 0xFF);

}  // namespace

CGridList::CGridList(int nRows, const QStringList& headers, const std::vector<int>& widths, int nRowHeight,
                     QWidget* pParent)
    : QTableWidget(nRows, static_cast<int>(headers.size()), pParent)
{
    setHorizontalHeaderLabels(headers);
    QHeaderView* pHeader = horizontalHeader();
    pHeader->setDefaultAlignment(Qt::AlignCenter);
    pHeader->setSectionResizeMode(QHeaderView::Fixed);
    pHeader->setSectionsMovable(false);
    pHeader->setHighlightSections(false);
    pHeader->setFixedHeight(nRowHeight);
    for (size_t i = 0; i < widths.size() && i < static_cast<size_t>(headers.size()); ++i)
        setColumnWidth(static_cast<int>(i), widths[i]);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(nRowHeight);
    verticalHeader()->setDefaultSectionSize(nRowHeight);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setTabKeyNavigation(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, kListBackground);
    pal.setColor(QPalette::Text, kListText);
    setPalette(pal);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        for (int nColumn = 0; nColumn < columnCount(); ++nColumn) {
            auto* pItem = new QTableWidgetItem;
            pItem->setTextAlignment(Qt::AlignCenter);
            pItem->setForeground(kListText);
            pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(nRow, nColumn, pItem);
        }
    }
}

void CGridList::SetText(int nRow, int nColumn, const QString& strText)
{
    if (QTableWidgetItem* pItem = item(nRow, nColumn))
        pItem->setText(strText);
}

QString CGridList::Text(int nRow, int nColumn) const
{
    const QTableWidgetItem* pItem = item(nRow, nColumn);
    return pItem ? pItem->text() : QString();
}

void CGridList::changeEvent(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::FontChange)
        horizontalHeader()->setFont(font());
    QTableWidget::changeEvent(pEvent);
}
