// The difference of two rooms, or of a room and a preset file, as a table:
// the row's label, its channel, A's value and B's value.
//
// Modeless, owned by the Venue window. User-interface thread only.
#pragma once

#include <QDialog>

#include "VenueDiff.h"

class QTableWidget;

class CVenueDiffDlg : public QDialog {
    Q_OBJECT
public:
    CVenueDiffDlg(QWidget* pParent, const QString& strA, const QString& strB, const DiffResult& result);
    QTableWidget* Table() const { return m_pTable; }

private:
    QTableWidget* m_pTable = nullptr;
};
