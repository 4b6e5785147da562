// A small print driver: a job runs four steps in order (prepare, begin
// printing, print each page, end printing) on paper or into a PDF file.
// Derived jobs say what a page holds.
//
// A PDF is drawn into memory and only then put in place through
// CAtomicFileWriter: a disk that runs full leaves the old file whole and the
// job reports the failure.
//
// User-interface thread (or the command's thread, which owns the
// QGuiApplication): painting on a printer is not thread-safe.
#pragma once

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPageLayout;
class QPainter;
class QPrinter;
class QWidget;

class CPrinterJob {
public:
    // NotStarted: the document could not be started (no printer, no
    // file). Failed: a page failed or the PDF could not be put in place;
    // m_strError then says why when that is known.
    enum class Result { Printed, Cancelled, NotStarted, Failed };

    CPrinterJob() = default;
    virtual ~CPrinterJob() = default;
    CPrinterJob(const CPrinterJob&) = delete;
    CPrinterJob& operator=(const CPrinterJob&) = delete;

    // Asks with the print dialog (printer, copies, page range, or a PDF
    // file) and prints.
    Result Print(QWidget* pParent);
    // The same job into a PDF file, without a dialog: pages nFrom … nTo
    // (nFrom above nTo prints them last page first; 0, 0: every page).
    Result PrintToPdf(const QString& strPath, int nFrom = 0, int nTo = 0);

    // The document's name in the print queue (and the PDF's title).
    QString m_strTitle;
    // Why the last print failed, in the system's words; may be empty.
    QString m_strError;
    // Tests answer the print dialog here: set up the printer and return
    // true, or return false for a cancelled dialog.
    std::function<bool(QPrinter&)> m_dialogHook;
    // A page of the print dialog's options besides its own (the dialog
    // takes the widget); made only when the dialog is shown.
    std::function<QWidget*()> m_makeOptionsTab;

protected:
    // False stops the job before anything is printed. The default shows the
    // print dialog with the first page as the lowest.
    virtual bool OnPreparePrinting(QPrinter& printer, QWidget* pParent);
    // Measures and paginates for the whole page of the device (the job keeps
    // its own margins); returns the number of pages.
    virtual int OnBeginPrinting(QPainter& painter, QPagedPaintDevice& device) = 0;
    // False: the page failed, the document is aborted.
    virtual bool OnPrintPage(QPainter& painter, int nPage) = 0;
    virtual void OnEndPrinting() {}

private:
    Result RenderPdf(const QString& strPath, const QPageLayout& layout, int nFrom, int nTo);
    Result Run(QPagedPaintDevice& device, int nFrom, int nTo, const std::function<void()>& abort);
    static bool PrintPages(QPagedPaintDevice& device, QPainter& painter, int nFrom, int nTo,
                           const std::function<bool(int)>& printPage);
};
