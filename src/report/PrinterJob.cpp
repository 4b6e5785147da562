#include "PrinterJob.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <span>
#include <string>

#include "AtomicFileWriter.h"

namespace {

constexpr int kHighestPage = 9999;  // the count is known only once the page is measured
constexpr int kPdfDpi = 1200;       // as a high-resolution QPrinter draws a PDF

// The whole sheet: the job draws its own margins.
QPageLayout FullPage(QPageLayout layout)
{
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF());
    return layout;
}

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
    // "Print to File" goes the safe way of PrintToPdf, not straight into
    // the file.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return RenderPdf(printer.outputFileName(), printer.pageLayout(), nFrom, nTo);
    printer.setDocName(m_strTitle);
    printer.setCreator(QCoreApplication::applicationName());
    printer.setFullPage(true);
    return Run(printer, nFrom, nTo, [&printer] { printer.abort(); });
}

CPrinterJob::Result CPrinterJob::PrintToPdf(const QString& strPath, int nFrom, int nTo)
{
    const QPrinter printer(QPrinter::HighResolution);  // the default paper of the system
    return RenderPdf(strPath, printer.pageLayout(), nFrom, nTo);
}

bool CPrinterJob::OnPreparePrinting(QPrinter& printer, QWidget* pParent)
{
    printer.setFromTo(0, 0);
    if (m_dialogHook)
        return m_dialogHook(printer);
    QPrintDialog dialog(&printer, pParent);
    if (m_makeOptionsTab)
        dialog.setOptionTabs({m_makeOptionsTab()});
    dialog.setMinMax(1, kHighestPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

CPrinterJob::Result CPrinterJob::RenderPdf(const QString& strPath, const QPageLayout& layout, int nFrom, int nTo)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Result result = Result::NotStarted;
    {
        QPdfWriter writer(&buffer);  // the document is complete when the writer ends
        writer.setResolution(kPdfDpi);
        writer.setPageLayout(FullPage(layout));
        writer.setTitle(m_strTitle);
        writer.setCreator(QCoreApplication::applicationName());
        result = Run(writer, nFrom, nTo, [] {});
    }
    if (result != Result::Printed)
        return result;
    const QByteArray& bytes = buffer.data();
    std::string strError;
    if (!CAtomicFileWriter::Write(QFile::encodeName(strPath).toStdString(),
                                  std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                            static_cast<size_t>(bytes.size())),
                                  &strError)) {
        m_strError = QString::fromStdString(strError);
        return Result::Failed;
    }
    return Result::Printed;
}

CPrinterJob::Result CPrinterJob::Run(QPagedPaintDevice& device, int nFrom, int nTo, const std::function<void()>& abort)
{
    m_strError.clear();
    QPainter painter;
    if (!painter.begin(&device))
        return Result::NotStarted;
    const int nPages = OnBeginPrinting(painter, device);
    if (nFrom <= 0 && nTo <= 0) {
        nFrom = 1;
        nTo = nPages;
    }
    nFrom = std::clamp(nFrom, 1, std::max(nPages, 1));
    nTo = std::clamp(nTo, 1, std::max(nPages, 1));
    const bool bOk = PrintPages(device, painter, nFrom, nTo, [&](int nPage) { return OnPrintPage(painter, nPage); });
    OnEndPrinting();
    if (!bOk) {
        abort();
        painter.end();
        return Result::Failed;
    }
    return painter.end() ? Result::Printed : Result::Failed;
}

// Pages nFrom … nTo in either direction. Between pages the event loop runs,
// so the windows stay drawn while a long document goes to the printer.
bool CPrinterJob::PrintPages(QPagedPaintDevice& device, QPainter& painter, int nFrom, int nTo,
                             const std::function<bool(int)>& printPage)
{
    const int nStep = nFrom <= nTo ? 1 : -1;
    for (int nPage = nFrom;; nPage += nStep) {
        if (!printPage(nPage) || !painter.isActive())
            return false;
        if (nPage == nTo)
            return true;
        if (!device.newPage())
            return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
