// Takes the manual's screenshots offscreen: the main window, the options, the splash and the
// about box at two moments of its credits. Usage: ombrel-shots ARCHIVE OUTDIR
#include "about/AboutBox.h"
#include "about/ArchivePicture.h"
#include "about/CreditsLayout.h"
#include "about/CreditsView.h"
#include "about/SplashWindow.h"
#include "app/MainWindow.h"
#include "options/OptionsSheet.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
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
    ombrel::OptionsSheet options(
        ombrel::SettingsStore::atFile(home.filePath(QStringLiteral("o.conf"))), true);
    ok = save(options, out.filePath(QStringLiteral("options.png"))) && ok;
    return ok ? 0 : 1;
}
