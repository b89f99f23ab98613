#include "app/StartupSettings.h"

#include "eventlog/JournalHosts.h"
#include "tail/MonitorControl.h"

#include <algorithm>

namespace ombrel {

namespace {
int bounded(std::int64_t value) {
    return static_cast<int>(std::clamp(value, -placementLimit, placementLimit));
}
} // namespace

QRect placementRect(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    return QRect(bounded(left), bounded(top), bounded(width), bounded(height));
}

void applyStartupSettings(StartupOptions& options, const SettingsStore& settings) {
    if (settings.readFlag(QStringLiteral("Hide"))) {
        options.hideControls = true;
    }
    if (const auto size = settings.readNumber(QStringLiteral("CheckSize"))) {
        options.byteCount = boundedDisplayCount(*size);
    }
    if (const auto hosts = settings.readSetting(journalHostsSetting)) {
        options.journalHosts = parseJournalHosts(*hosts);
    }
    if (settings.readFlag(QStringLiteral("StoreLast"))) {
        const auto edge = [&settings](const QString& name) -> std::int64_t {
            return settings.readNumber(name).value_or(0);
        };
        const std::int64_t left = edge(QStringLiteral("StoreLeft"));
        const std::int64_t top = edge(QStringLiteral("StoreTop"));
        const std::int64_t right = edge(QStringLiteral("StoreRight"));
        const std::int64_t bottom = edge(QStringLiteral("StoreBottom"));
        // 64-bit differences: edges written by hand may be far apart.
        options.startRect = placementRect(left, top, right - left, bottom - top);
        options.placementGiven = true;
    }
}

} // namespace ombrel
