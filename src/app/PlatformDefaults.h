#pragma once

namespace ombrel {

/// Sets this platform's defaults for Qt before the application object exists; a choice the user
/// made in the environment (QT_QPA_PLATFORM) is kept.
void applyPlatformDefaults();

} // namespace ombrel
