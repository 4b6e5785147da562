#include "PrinterJob.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace {

constexpr int kHighestPage = 9999;  // the count is known only once the page is measured

}  // namespace

CPrinterJob::Result CPrinterJob::Print(QWidget* pParent)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!OnPreparePrinting(printer, pParent))
        return Result::Cancelled;
    // The dialog's range; a printer asked for the last page first gets the
    // range the other way round.
    int nFrom = printer.printRange() == QPrinter::PageRange ? printer.fromPage() : 0;
    int nTo = printer.printRange() == QPrinter::PageRange ? printer.toPage() : 0;
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::swap(nFrom, nTo);
    return Run(printer, nFrom, nTo);
}

CPrinterJob::Result CPrinterJob::PrintToPdf(const QString& strPath, int nFrom, int nTo)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(strPath);
    return Run(printer, nFrom, nTo);
}

bool CPrinterJob::OnPreparePrinting(QPrinter& printer, QWidget* pParent)
{
    printer.setFromTo(0, 0);
    if (m_dialogHook)
        return m_dialogHook(printer);
    QPrintDialog dialog(&printer, pParent);
    dialog.setMinMax(1, kHighestPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

CPrinterJob::Result CPrinterJob::Run(QPrinter& printer, int nFrom, int nTo)
{
    printer.setDocName(m_strTitle);
    printer.setCreator(QCoreApplication::applicationName());
    printer.setFullPage(true);  // the job keeps its own margins
    QPainter painter;
    if (!painter.begin(&printer))
        return Result::Failed;
    const int nPages = OnBeginPrinting(painter, printer);
    if (nFrom <= 0 && nTo <= 0) {
        nFrom = 1;
        nTo = nPages;
    }
    nFrom = std::clamp(nFrom, 1, std::max(nPages, 1));
    nTo = std::clamp(nTo, 1, std::max(nPages, 1));
    const bool bOk = PrintPages(printer, painter, nFrom, nTo, [&](int nPage) { return OnPrintPage(painter, nPage); });
    OnEndPrinting();
    if (!bOk) {
        printer.abort();
        painter.end();
        return Result::Failed;
    }
    return painter.end() ? Result::Printed : Result::Failed;
}

// Pages nFrom … nTo in either direction. Between pages the event loop runs,
// so the windows stay drawn while a long document goes to the printer.
bool CPrinterJob::PrintPages(QPrinter& printer, QPainter& painter, int nFrom, int nTo,
                             const std::function<bool(int)>& printPage)
{
    const int nStep = nFrom <= nTo ? 1 : -1;
    for (int nPage = nFrom;; nPage += nStep) {
        if (!printPage(nPage) || !painter.isActive())
            return false;
        if (nPage == nTo)
            return true;
        if (!printer.newPage())
            return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
