#pragma once

#include <QList>
#include <QString>
#include <functional>

class QCheckBox;
class QWidget;

namespace ombrel {

/// The "Application" and "System" boxes and the file controls they switch: at most one box is
/// ticked; while one is, the count reads "Entries to Display" and the file controls are off.
class EventLogBoxes {
public:
    /// The widgets, owned by the window.
    struct Controls {
        QCheckBox* application = nullptr;
        QCheckBox* system = nullptr;
        QList<QWidget*> fileControls;                      ///< file box, its label and "Browse"
        std::function<void(const QString&)> setCountLabel; ///< the label and the box's name
    };

    /// Works on controls, which must outlive this object.
    explicit EventLogBoxes(Controls controls) : controls_(std::move(controls)) {}

    /// After a click has toggled box: a ticked box unticks the other; with both unticked the
    /// file controls come back.
    void clicked(const QCheckBox* box);

private:
    void switchTo(bool eventLog);

    Controls controls_;
};

} // namespace ombrel
