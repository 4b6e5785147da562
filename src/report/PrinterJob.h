// A small print driver: a job runs four steps in order (prepare, begin
// printing, print each page, end printing) on a QPrinter, on paper or into
// a PDF file. Derived jobs say what a page holds.
//
// User-interface thread (or the command's thread, which owns the
// QGuiApplication): painting on a printer is not thread-safe.
#pragma once

#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

class CPrinterJob {
public:
    enum class Result { Printed, Cancelled, Failed };

    CPrinterJob() = default;
    virtual ~CPrinterJob() = default;
    CPrinterJob(const CPrinterJob&) = delete;
    CPrinterJob& operator=(const CPrinterJob&) = delete;

    // Asks with the print dialog (printer, copies, page range, or a PDF
    // file) and prints. Failed: the document could not be started or a page
    // failed; the document is then aborted.
    Result Print(QWidget* pParent);
    // The same job into a PDF file, without a dialog: pages nFrom … nTo
    // (nFrom above nTo prints them last page first; 0, 0: every page).
    Result PrintToPdf(const QString& strPath, int nFrom = 0, int nTo = 0);

    // The document's name in the print queue (and the PDF's title).
    QString m_strTitle = QStringLiteral("senza nome");
    // Tests answer the print dialog here: set up the printer and return
    // true, or return false for a cancelled dialog.
    std::function<bool(QPrinter&)> m_dialogHook;

protected:
    // False stops the job before anything is printed. The default shows the
    // print dialog with the first page as the lowest.
    virtual bool OnPreparePrinting(QPrinter& printer, QWidget* pParent);
    // Measures and paginates; returns the number of pages.
    virtual int OnBeginPrinting(QPainter& painter, QPrinter& printer) = 0;
    // False: the page failed, the document is aborted.
    virtual bool OnPrintPage(QPainter& painter, int nPage) = 0;
    virtual void OnEndPrinting() {}

private:
    Result Run(QPrinter& printer, int nFrom, int nTo);
    static bool PrintPages(QPrinter& printer, QPainter& painter, int nFrom, int nTo,
                           const std::function<bool(int)>& printPage);
};
