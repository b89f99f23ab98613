#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace ombrel {

/// A program to start and its arguments, never passed through a shell.
struct LaunchCommand {
    QString program;       ///< the program, as found in PATH or as a path
    QStringList arguments; ///< its arguments, each one whole

    friend bool operator==(const LaunchCommand&, const LaunchCommand&) = default;
};

/// Builds and starts the external programs the window launches: the editor on the watched
/// file, a log viewer for the journal, and a new copy of this program.
class ProgramLauncher {
public:
    /// Finds a program by name in PATH; empty when absent.
    using ExecutableFinder = std::function<QString(const QString& name)>;

    /// The "Editor" setting split like a command line (quotes kept together, no shell), with
    /// source appended as one more argument; nothing for a missing, empty or blank setting.
    static std::optional<LaunchCommand> editorCommand(const std::optional<QString>& editor,
                                                      const QString& source);
    /// The first journal viewer found ("gnome-logs", then "ksystemlog"; on Windows the Event
    /// Viewer, "eventvwr"); nothing if none is.
    static std::optional<LaunchCommand> journalViewerCommand(const ExecutableFinder& find);
    /// This program's own executable, without arguments.
    static LaunchCommand newCopyCommand();
    /// Starts command detached from this program; false when it could not be started.
    static bool launch(const LaunchCommand& command);
};

} // namespace ombrel
