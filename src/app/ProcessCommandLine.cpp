#include "app/ProcessCommandLine.h"

#ifdef _WIN32
#include "app/WindowsCommandLine.h"

#include <cstdio>
#include <windows.h>
#endif

namespace ombrel {

ArgumentsResult readCommandLine([[maybe_unused]] const QStringList& args, QSize primaryScreen,
                                StartupOptions& options) {
#ifdef _WIN32
    // The raw line, as the program always read it: quotes and blanks as they were typed.
    const QString line = QString::fromWCharArray(GetCommandLineW());
    return parseWindowsCommandLine(textAfterProgramName(line), primaryScreen, options);
#else
    return parseArguments(args, primaryScreen, options);
#endif
}

QString commandLineUsage() {
#ifdef _WIN32
    return windowsUsageText();
#else
    return usageText();
#endif
}

void attachStandardOutput() {
#ifdef _WIN32
    // Redirected output (a pipe or a file) is used as it is.
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        [[maybe_unused]] FILE* out = std::freopen("CONOUT$", "w", stdout);
        [[maybe_unused]] FILE* err = std::freopen("CONOUT$", "w", stderr);
    }
#endif
}

} // namespace ombrel
