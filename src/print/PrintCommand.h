#pragma once

#include <QFont>
#include <memory>

class QPrinter;
class QWidget;

namespace ombrel {

class DisplayModel;
class PrintTarget;

/// The Print command: asks for a printer and pages, then prints what the display showed when
/// the command started. The printer chosen is kept for the next Print until the program ends.
class PrintCommand {
public:
    /// Prints through target; no printer is looked up before the first run().
    explicit PrintCommand(std::shared_ptr<PrintTarget> target);
    ~PrintCommand();

    /// Prints model's text in font, the job named after window's title. Without any printer,
    /// tells so in a message box. Does nothing while another run is asking for pages.
    void run(std::shared_ptr<const DisplayModel> model, const QFont& font, QWidget* window);
    /// A run is under way (its dialog is open).
    bool busy() const { return busy_; }

private:
    std::shared_ptr<PrintTarget> target_;
    std::unique_ptr<QPrinter> printer_;
    bool busy_ = false;
};

} // namespace ombrel
