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

TEST(ProgramLauncher, TheJournalViewerIsThePreferredOneInstalled) {
    const auto viewerAmong = [](const QStringList& installed) {
        return ProgramLauncher::journalViewerCommand([&](const QString& name) {
            return installed.contains(name) ? u"/usr/bin/"_qs + name : QString();
        });
    };
#ifdef _WIN32
    EXPECT_EQ(viewerAmong({u"ksystemlog"_qs, u"eventvwr"_qs}),
              (LaunchCommand{u"/usr/bin/eventvwr"_qs, {}}));
    EXPECT_EQ(viewerAmong({u"ksystemlog"_qs}), std::nullopt);
#else
    EXPECT_EQ(viewerAmong({u"ksystemlog"_qs}), (LaunchCommand{u"/usr/bin/ksystemlog"_qs, {}}));
    EXPECT_EQ(viewerAmong({u"ksystemlog"_qs, u"gnome-logs"_qs}),
              (LaunchCommand{u"/usr/bin/gnome-logs"_qs, {}}));
#endif
    EXPECT_EQ(viewerAmong({}), std::nullopt);
}

TEST(FileDrop, TakesTheFirstLocalFileOnly) {
    // Several local files are dropped by the window test.
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/x.log"))});
    EXPECT_EQ(FileDrop::firstLocalFile(remote), QString());
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.log"));
    EXPECT_EQ(FileDrop::firstLocalFile(text), QString());
}
