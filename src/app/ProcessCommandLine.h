#pragma once

#include "app/Arguments.h"
#include "app/StartupOptions.h"

#include <QSize>
#include <QString>
#include <QStringList>

namespace ombrel {

/// Reads this process's command line as the program's options: on Windows the raw text of
/// GetCommandLineW after the program's name (parseWindowsCommandLine); elsewhere args, the
/// arguments after the program's name (parseArguments).
ArgumentsResult readCommandLine(const QStringList& args, QSize primaryScreen,
                                StartupOptions& options);

/// The usage text of this platform's command line, ending with a newline.
QString commandLineUsage();

/// Makes standard output and error reach the console the program was started from, if any, so
/// that "--help" and "--version" answer there (a Windows window program has none of its own).
void attachStandardOutput();

} // namespace ombrel
