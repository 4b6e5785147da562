// The lists of the dialogs: fixed centred columns whose dividers cannot be
// dragged, whole rows selected one at a time, grid lines, and blue text on
// a pale lilac background. Cells are read-only texts.
//
// User-interface thread only.
#pragma once

#include <QTableWidget>
#include <vector>

class CGridList : public QTableWidget {
    Q_OBJECT
public:
    CGridList(int nRows, const QStringList& headers, const std::vector<int>& widths, int nRowHeight,
              QWidget* pParent);

    void SetText(int nRow, int nColumn, const QString& strText);
    QString Text(int nRow, int nColumn) const;

protected:
    // The column headers are lettered like the rows.
    void changeEvent(QEvent* pEvent) override;
};
