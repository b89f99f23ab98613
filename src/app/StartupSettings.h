#pragma once

#include "app/StartupOptions.h"
#include "settings/SettingsStore.h"

#include <QRect>
#include <cstdint>

namespace ombrel {

/// Largest coordinate or extent a start placement keeps (Qt's widget size limit).
inline constexpr std::int64_t placementLimit = 16777215;

/// A window placement with every value bounded to ±placementLimit, so that no QRect
/// computation on it (right edge, width) can overflow, whatever the numbers came from.
QRect placementRect(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height);

/// Applies the stored start-up values: Hide, then CheckSize, then JournalHosts, then StoreLast
/// with the stored window edges (a missing or non-numeric edge counts as 0).
void applyStartupSettings(StartupOptions& options, const SettingsStore& settings);

} // namespace ombrel
