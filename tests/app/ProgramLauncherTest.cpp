#include "app/ProgramLauncher.h"

#include "app/FileDrop.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using namespace ombrel;

TEST(ProgramLauncher, TheEditorSettingIsACommandLineAndTheFileOneWholeArgument) {
    const QString file = QStringLiteral("/var/log/my \"odd\" app.log");
    const struct {
        std::optional<QString> editor;
        std::optional<LaunchCommand> command;
    } cases[] = {
        {QStringLiteral("code --wait -n"),
         LaunchCommand{QStringLiteral("code"),
                       {QStringLiteral("--wait"), QStringLiteral("-n"), file}}},
        {QStringLiteral("\"/opt/My Editor/ed\" -r"),
         LaunchCommand{QStringLiteral("/opt/My Editor/ed"), {QStringLiteral("-r"), file}}},
        {QString(), std::nullopt},
        {QStringLiteral("\"\""), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramLauncher::editorCommand(c.editor, file), c.command)
            << c.editor.value_or(QStringLiteral("(missing)")).toStdString();
    }
}

TEST(ProgramLauncher, TheJournalViewerIsTheFirstOneInstalled) {
    const auto finder = [](QStringList installed) {
        return [installed](const QString& name) {
            return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
        };
    };
    EXPECT_EQ(ProgramLauncher::journalViewerCommand(finder({QStringLiteral("ksystemlog")})),
              (LaunchCommand{QStringLiteral("/usr/bin/ksystemlog"), {}}));
    EXPECT_EQ(ProgramLauncher::journalViewerCommand(
                  finder({QStringLiteral("ksystemlog"), QStringLiteral("gnome-logs")})),
              (LaunchCommand{QStringLiteral("/usr/bin/gnome-logs"), {}}));
    EXPECT_EQ(ProgramLauncher::journalViewerCommand(finder({})), std::nullopt);
}

TEST(FileDrop, TakesTheFirstLocalFileOnly) {
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.log")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/c.log"))});
    EXPECT_EQ(FileDrop::firstLocalFile(files), QStringLiteral("/tmp/a b.log"));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/x.log"))});
    EXPECT_EQ(FileDrop::firstLocalFile(remote), QString());
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.log"));
    EXPECT_EQ(FileDrop::firstLocalFile(text), QString());
}
