#include "app/ProgramLauncher.h"

#include <QCoreApplication>
#include <QProcess>

namespace ombrel {

std::optional<LaunchCommand> ProgramLauncher::editorCommand(const std::optional<QString>& editor,
                                                            const QString& source) {
    if (!editor) {
        return std::nullopt;
    }
    QStringList words = QProcess::splitCommand(*editor);
    if (words.isEmpty() || words.first().isEmpty()) {
        return std::nullopt; // never start the watched file itself
    }
    LaunchCommand command{words.takeFirst(), words};
    command.arguments.append(source);
    return command;
}

std::optional<LaunchCommand> ProgramLauncher::journalViewerCommand(const ExecutableFinder& find) {
#ifdef _WIN32
    const QString viewers[] = {QStringLiteral("eventvwr")}; // Windows' Event Viewer
#else
    const QString viewers[] = {QStringLiteral("gnome-logs"), QStringLiteral("ksystemlog")};
#endif
    for (const QString& name : viewers) {
        const QString program = find(name);
        if (!program.isEmpty()) {
            return LaunchCommand{program, {}};
        }
    }
    return std::nullopt;
}

LaunchCommand ProgramLauncher::newCopyCommand() {
    return {QCoreApplication::applicationFilePath(), {}};
}

bool ProgramLauncher::launch(const LaunchCommand& command) {
    return QProcess::startDetached(command.program, command.arguments);
}

} // namespace ombrel
