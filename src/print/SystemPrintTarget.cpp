#include "print/SystemPrintTarget.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace ombrel {

SystemPrintTarget::SystemPrintTarget(DialogRunner runDialog) : runDialog_(std::move(runDialog)) {}

bool SystemPrintTarget::printersAvailable() const {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

std::unique_ptr<QPrinter> SystemPrintTarget::makeDefaultPrinter() const {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty()) {
            info = printers.first();
        }
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

bool SystemPrintTarget::choose(QPrinter& printer, int pageCount, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printDialog"));
    // "Selection" would print everything, and the current page means nothing for a log.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, pageCount);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, pageCount);
    return runDialog_(dialog);
}

} // namespace ombrel
