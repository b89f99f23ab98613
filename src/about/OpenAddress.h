#pragma once

#include <QString>

namespace ombrel {

/// Hands an http, https, ftp or mailto address to the desktop's handler for it (the browser,
/// the mail program); refuses anything else silently. True when the address was handed on
/// and the desktop took it. Every web address of the program, the display's links included,
/// goes through here.
bool openAddress(const QString& text);

} // namespace ombrel
