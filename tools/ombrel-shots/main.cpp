// Takes the manual's screenshots offscreen: the main window, the options, the splash and the
// about box at two moments of its credits, the window watching a log and its find bar. Usage:
// ombrel-shots ARCHIVE OUTDIR
#include "about/AboutBox.h"
#include "about/ArchivePicture.h"
#include "about/CreditsLayout.h"
#include "about/CreditsView.h"
#include "about/SplashWindow.h"
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "options/OptionsSheet.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

bool save(QWidget& widget, const QString& path) {
    widget.show();
    QApplication::processEvents();
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home; // never the user's settings
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("Usage: ombrel-shots ARCHIVE OUTDIR\n", stderr);
        return 2;
    }
    const QString archive = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = true;

    ombrel::SplashWindow splash(ombrel::loadArchivePicture(archive, "images\\splash.bmp"));
    ok = save(splash, out.filePath(QStringLiteral("splash.png"))) && ok;

    ombrel::MainWindowSetup setup{
        {},
        ombrel::SettingsStore::atFile(home.filePath(QStringLiteral("o.conf"))),
        QString(),
        {},
        {}};
    setup.config.load(archive);
    const QString credits = ombrel::creditsFromConfig(setup.config);
    ombrel::AboutBox about(archive, credits);
    int ticked = 0;
    for (const int ticks : {70, 180}) { // rising into the band, then scrolling through it
        for (; ticked < ticks; ++ticked) {
            about.creditsView()->tick();
        }
        ok = save(about, out.filePath(QStringLiteral("about-%1.png").arg(ticks))) && ok;
    }

    ombrel::MainWindow window(std::move(setup));
    window.resize(560, 460);
    ok = save(window, out.filePath(QStringLiteral("main-window.png"))) && ok;

    // The window watching a log, with its keywords marked: the README's picture.
    const ombrel::SettingsStore marked =
        ombrel::SettingsStore::atFile(home.filePath(QStringLiteral("marked.conf")));
    marked.writeSetting(QStringLiteral("Highlight"), QStringLiteral("1"));
    marked.writeSetting(QStringLiteral("Keywords"), QStringLiteral("ERROR;;warning;;disk"));
    const QString log = home.filePath(QStringLiteral("app.log"));
    QFile logFile(log);
    if (logFile.open(QIODevice::WriteOnly)) {
        logFile.write("2026-12-07 09:14:02 INFO  service started, listening on :8080\n"
                      "2026-12-07 09:14:05 INFO  connected to db01\n"
                      "2026-12-07 09:15:40 warning: slow query (1.8 s) on orders\n"
                      "2026-12-07 09:16:11 INFO  request /api/orders 200 (12 ms)\n"
                      "2026-12-07 09:17:23 ERROR disk /var full: cannot write cache\n"
                      "2026-12-07 09:17:24 INFO  retrying in 5 s\n"
                      "2026-12-07 09:17:29 INFO  cache written, see https://example.org/ops\n");
        logFile.close();
    }
    ombrel::StartupOptions watching;
    watching.sourceText = log;
    watching.startRequested = true;
    ombrel::MainWindowSetup watchingSetup{watching, marked, QString(), {}, {}};
    watchingSetup.config.load(archive);
    ombrel::MainWindow watcher(std::move(watchingSetup));
    watcher.resize(620, 420);
    watcher.show();
    watcher.waitForDisplayIdle(5000);
    ok = save(watcher, out.filePath(QStringLiteral("watching.png"))) && ok;
    // Its find bar, walking to the second of the matches of "cache".
    watcher.dispatchCommand(ombrel::IdFind);
    QTest::keyClicks(watcher.findChild<QLineEdit*>(QStringLiteral("findBox")),
                     QStringLiteral("cache"));
    QTest::qWait(300);
    watcher.dispatchCommand(ombrel::IdFindNext);
    QTest::qWait(300);
    ok = save(watcher, out.filePath(QStringLiteral("find.png"))) && ok;
    if (qEnvironmentVariableIsSet("OMBREL_SHOTS_SMALLEST")) {
        watcher.resize(watcher.minimumSize());
        QTest::qWait(100);
        ok = save(watcher, out.filePath(QStringLiteral("find-smallest.png"))) && ok;
    }
    ombrel::OptionsSheet options(
        ombrel::SettingsStore::atFile(home.filePath(QStringLiteral("o.conf"))), true);
    ok = save(options, out.filePath(QStringLiteral("options.png"))) && ok;
    return ok ? 0 : 1;
}
