// The parameter report: every parameter of the six outputs as they were
// when the window opened, one column per output. Print puts the list on
// paper or into a PDF; Export Excel writes it as a worksheet. Both use the
// list's texts.
//
// Created on the stack of the view's REPORT command and run modally.
// User-interface thread only.
#pragma once

#include <functional>

#include "FormDialog.h"

class CGridList;
class CKTV_Data;
class IFormHost;
class QPrinter;
struct ReportTable;

class CDataViewDlg : public CFormDialog {
    Q_OBJECT
public:
    // Control ids of template 102 (chosen beside the program manager's,
    // apart from the form's).
    static constexpr int kIdPrint = 2320;
    static constexpr int kIdExport = 2321;
    static constexpr int kIdList = 2322;
    static constexpr int kColumnWidth = 100;

    CDataViewDlg(CKTV_Data& data, IFormHost& host, QWidget* pParent);

    // The list's texts: the column names and every row.
    ReportTable ListTable() const;
    // Tests answer the print dialog here (see CPrinterJob::m_dialogHook).
    std::function<bool(QPrinter&)> m_printDialogHook;
    // The print dialog's check box "Handover pages": the response graphs
    // after the table. Off unless ticked (tests set it directly).
    bool m_bHandover = false;

private:
    void CreateList();
    void OnPrint();
    void OnExport();
    bool MayReplace(const QString& strPath, bool bAsked);

    CKTV_Data& m_data;
    IFormHost& m_host;
    CGridList* m_pList = nullptr;
};
