#pragma once

#include <QList>
#include <QString>
#include <functional>

class QCheckBox;
class QWidget;

namespace ombrel {

/// The "Application" and "System" boxes and the controls they switch: at most one box is ticked;
/// while one is, the count reads "Entries to Display", the file controls are off and the
/// journal's own controls on.
class EventLogBoxes {
public:
    /// The widgets, owned by the window.
    struct Controls {
        QCheckBox* application = nullptr;
        QCheckBox* system = nullptr;
        QList<QWidget*> fileControls;                      ///< file box, its label and "Browse"
        QList<QWidget*> journalControls;                   ///< "Computer" and its label
        std::function<void(const QString&)> setCountLabel; ///< the label and the box's name
    };

    /// Works on controls, which must outlive this object; no box is ticked yet.
    explicit EventLogBoxes(Controls controls);

    /// After a click has toggled box: a ticked box unticks the other; with both unticked the
    /// file controls come back.
    void clicked(const QCheckBox* box);

private:
    void switchTo(bool eventLog);

    Controls controls_;
};

} // namespace ombrel
