#include "print/PrintCommand.h"

#include "app/MessageBoxes.h"
#include "display/DisplayModel.h"
#include "print/PageSelection.h"
#include "print/PrintLayout.h"
#include "print/PrintTarget.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

namespace ombrel {
namespace {

// Laying out a long text takes a while; the pointer says so.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void showPrintFailed(QWidget* window) {
    openMessageBox(window, QMessageBox::Critical, QStringLiteral("Ombrel"),
                   QStringLiteral("Print operation failed"), QStringLiteral("printFailedBox"));
}

std::vector<PageInterval> chosenPages(const QPrinter& printer) {
    std::vector<PageInterval> chosen;
    if (printer.printRange() == QPrinter::PageRange) {
        for (const QPageRanges::Range& range : printer.pageRanges().toRangeList()) {
            chosen.push_back({range.from, range.to});
        }
    }
    return chosen;
}

} // namespace

PrintCommand::PrintCommand(std::shared_ptr<PrintTarget> target) : target_(std::move(target)) {}

PrintCommand::~PrintCommand() = default;

void PrintCommand::run(std::shared_ptr<const DisplayModel> model, const QFont& font,
                       QWidget* window) {
    if (busy_) {
        return;
    }
    busy_ = true;
    const auto done = qScopeGuard([this] { busy_ = false; });

    if (!target_->printersAvailable()) {
        showPrintFailed(window);
        return;
    }
    if (!printer_) {
        printer_ = target_->makeDefaultPrinter();
    }
    printer_->setFullPage(true); // the margins are measured from the paper's edges

    // The job prints this snapshot: updates while the dialog is open do not reach it.
    PrintLayout layout(std::move(model), font);
    int pageCount = 0;
    {
        const WaitCursor waiting;
        pageCount = layout.paginate(*printer_);
    }
    if (!target_->choose(*printer_, pageCount, window)) {
        return;
    }

    // The dialog may have changed printer, paper or orientation: count the pages again.
    printer_->setFullPage(true);
    const WaitCursor waiting;
    pageCount = layout.paginate(*printer_);
    const std::vector<int> pages = pagesToPrint(chosenPages(*printer_), pageCount);
    printer_->setDocName(window ? window->windowTitle() : QString());

    QPainter painter;
    if (pages.empty() || !painter.begin(printer_.get())) {
        showPrintFailed(window); // say so rather than leave the user waiting for paper
        return;
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer_->newPage()) {
            break;
        }
        layout.drawPage(painter, pages[i]);
    }
    painter.end();
}

} // namespace ombrel
