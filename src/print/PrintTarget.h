#pragma once

#include <memory>

class QPrinter;
class QWidget;

namespace ombrel {

/// Where printing goes: the system's printers and the print dialog, or a stand-in in tests.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    /// Some printer is installed.
    virtual bool printersAvailable() const = 0;
    /// A printer set up as the system's default one (or the first installed).
    virtual std::unique_ptr<QPrinter> makeDefaultPrinter() const = 0;
    /// Lets the user choose printer, paper and pages 1..pageCount for printer; true on OK.
    virtual bool choose(QPrinter& printer, int pageCount, QWidget* parent) = 0;
};

} // namespace ombrel
