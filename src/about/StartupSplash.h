#pragma once

#include <QString>

namespace ombrel {

/// The exit code of a start refused because the resource archive cannot be opened.
constexpr int corruptInstallationExitCode = 1;

/// Opens the resource archive at archivePath and, when showSplash, shows the splash from it
/// until its time is up. When the archive cannot be opened, tells that the installation is
/// corrupt and returns false: the program must not go on.
bool passStartupSplash(const QString& archivePath, bool showSplash);

/// The message box of a start without a usable resource archive (caption "Ombrel").
void reportCorruptInstallation();

} // namespace ombrel
