#include "app/EventLogBoxes.h"

#include <QCheckBox>

namespace ombrel {

EventLogBoxes::EventLogBoxes(Controls controls) : controls_(std::move(controls)) {
    for (QWidget* widget : controls_.journalControls) {
        widget->setEnabled(false);
    }
}

void EventLogBoxes::clicked(const QCheckBox* box) {
    QCheckBox* other = box == controls_.application ? controls_.system : controls_.application;
    if (box->isChecked()) {
        other->setChecked(false);
        switchTo(true);
    } else if (!other->isChecked()) {
        switchTo(false);
    }
}

void EventLogBoxes::switchTo(bool eventLog) {
    controls_.setCountLabel(eventLog ? QStringLiteral("Entries to Display")
                                     : QStringLiteral("Bytes to Display"));
    for (QWidget* widget : controls_.fileControls) {
        widget->setEnabled(!eventLog);
    }
    for (QWidget* widget : controls_.journalControls) {
        widget->setEnabled(eventLog);
    }
}

} // namespace ombrel
