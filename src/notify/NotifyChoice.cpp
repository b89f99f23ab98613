#include "notify/NotifyChoice.h"

namespace ombrel {

NotifyChoice notifyChoiceOf(const std::optional<QString>& stored) {
    // Files written before the setting existed keep their meaning: a keyword tells.
    if (stored == u"0") {
        return NotifyChoice::Off;
    }
    if (stored == u"2") {
        return NotifyChoice::EveryChange;
    }
    return NotifyChoice::Keywords;
}

QString storedNotifyChoice(NotifyChoice choice) {
    return QString::number(static_cast<int>(choice));
}

} // namespace ombrel
