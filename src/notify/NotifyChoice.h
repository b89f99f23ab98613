#pragma once

#include <QString>
#include <optional>

namespace ombrel {

/// When a change of the watched log also sends a desktop notification ("Notify").
enum class NotifyChoice {
    Off,        ///< "0": never
    Keywords,   ///< "1": when the change brings a marked line the update before did not show
    EveryChange ///< "2": on every change
};

/// The choice a stored text stands for: "0", "1", "2"; anything else, or none, is "1".
NotifyChoice notifyChoiceOf(const std::optional<QString>& stored);
/// The stored text of a choice.
QString storedNotifyChoice(NotifyChoice choice);

} // namespace ombrel
