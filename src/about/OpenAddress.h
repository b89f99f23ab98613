#pragma once

#include <QString>

class QWidget;

namespace ombrel {

/// Hands an http, https, ftp or mailto address to the desktop's handler for it (the browser,
/// the mail program); refuses anything else silently. True when the address was handed on
/// and the desktop took it. When the desktop has no program for an address it would hand on,
/// a message box over reportTo (when given) names it. Every web address of the program, the
/// display's links included, goes through here.
bool openAddress(const QString& text, QWidget* reportTo = nullptr);

/// Tells, in a window-modal box over owner, that nothing could open address.
void reportUnopenedAddress(QWidget* owner, const QString& address);

} // namespace ombrel
