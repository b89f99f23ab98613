#pragma once

#include "app/StartupOptions.h"

#include <QSize>
#include <QString>
#include <QStringList>

namespace ombrel {

/// What the program does after reading its arguments.
enum class ArgumentsAction {
    Run,         ///< open the main window with the parsed options
    ShowUsage,   ///< print usageText() on standard output and exit with 0
    ShowVersion, ///< print versionText() on standard output and exit with 0
    Fail,        ///< print the message on standard error and exit with 2
};

/// The outcome of parseArguments.
struct ArgumentsResult {
    ArgumentsAction action = ArgumentsAction::Run;
    QString message; ///< for Fail: the complaint, ending with a hint at "--help"
};

/// Reads the argument vector (without the program name) of a Linux start: an argument is an
/// option only when its whole text is one option form written with "/" or "-" in any case
/// ("-s250", "/T5", "-pp10,10,50,50", "-font:Courier"), and only the first of each counts;
/// "--" ends the options; the other arguments, joined by one blank, name the file.
/// An unknown "-" argument before "--" fails; "--help", "-?", "/?" and "--version" ask to print;
/// "--no-splash" clears showSplash; "--journal-directory=" (first counts) and "--journal-host="
/// (every one counts, replacing the stored computers) choose the journal.
ArgumentsResult parseArguments(const QStringList& args, QSize primaryScreen,
                               StartupOptions& options);

/// The usage text printed for "--help", ending with a newline.
QString usageText();

/// The version text printed for "--version", ending with a newline.
QString versionText();

} // namespace ombrel
