#pragma once

#include "print/PrintTarget.h"

#include <functional>

class QDialog;

namespace ombrel {

/// The system's printers, chosen in the standard print dialog.
class SystemPrintTarget : public PrintTarget {
public:
    /// Runs a dialog modally and tells whether it was accepted (the window's one-at-a-time runner).
    using DialogRunner = std::function<bool(QDialog&)>;

    /// Shows the print dialog through runDialog.
    explicit SystemPrintTarget(DialogRunner runDialog);

    bool printersAvailable() const override;
    std::unique_ptr<QPrinter> makeDefaultPrinter() const override;
    bool choose(QPrinter& printer, int pageCount, QWidget* parent) override;

private:
    DialogRunner runDialog_;
};

} // namespace ombrel
