#pragma once

#include "app/Arguments.h"
#include "app/StartupOptions.h"

#include <QSize>
#include <QString>
#include <QStringView>

namespace ombrel {

/// The text after the program's name in a raw Windows command line (as GetCommandLineW gives
/// it): a name in double quotes ends at the closing quote, any other at the first blank or tab;
/// the blanks and tabs after it are dropped.
QString textAfterProgramName(QStringView commandLine);

/// Reads the text after the program's name as the Windows build receives it: the words (outside
/// double quotes) "--help", "-?" and "/?" ask for the usage text, "--version" for the version,
/// "--no-splash" clears showSplash and is dropped; a whole word written as an option with "-"
/// ("-ka", "-s250") counts as its "/" form; then parseCommandLineText reads the line.
ArgumentsResult parseWindowsCommandLine(const QString& text, QSize primaryScreen,
                                        StartupOptions& options);

/// The usage text printed for "--help" on Windows, ending with a newline.
QString windowsUsageText();

} // namespace ombrel
