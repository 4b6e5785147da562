#include "VenueDiffDlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Strings.h"

CVenueDiffDlg::CVenueDiffDlg(QWidget* pParent, const QString& strA, const QString& strB, const DiffResult& result)
    : QDialog(pParent, Qt::Window)
{
    setObjectName("VenueDifference");
    setWindowTitle(Tr(kTxtVenueDiffTitle).arg(strA, strB));
    auto* pLayout = new QVBoxLayout(this);
    const QString strSummary = result.rows.empty() ? Tr(kTxtVenueDiffNone) : Tr(kTxtVenueDiffCount).arg(result.rows.size());
    pLayout->addWidget(new QLabel(QString("A: %1\nB: %2\n%3").arg(strA, strB, strSummary), this));
    m_pTable = new QTableWidget(static_cast<int>(result.rows.size()), 4, this);
    m_pTable->setHorizontalHeaderLabels({Tr(kTxtVenueRow), Tr(kTxtVenueChannel), "A", "B"});
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->hide();
    for (size_t i = 0; i < result.rows.size(); ++i) {
        const DiffRow& row = result.rows[i];
        const std::string* cells[] = {&row.strLabel, &row.strChannel, &row.strA, &row.strB};
        for (int nColumn = 0; nColumn < 4; ++nColumn)
            m_pTable->setItem(static_cast<int>(i), nColumn, new QTableWidgetItem(QString::fromStdString(*cells[nColumn])));
    }
    m_pTable->resizeColumnsToContents();
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    pLayout->addWidget(m_pTable);
    resize(640, 480);
}
