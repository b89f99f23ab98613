// Entry point: reads the settings and the command line, shows the main window and ends with the
// identifier of the command that closed it.
#include "about/StartupSplash.h"
#include "app/Arguments.h"
#include "app/InstanceChannel.h"
#include "app/MainWindow.h"
#include "app/PlatformDefaults.h"
#include "app/ProcessCommandLine.h"
#include "app/StartupSettings.h"
#include "archive/ArchivePath.h"

#include <QApplication>
#ifdef QT_DBUS_LIB
#include <QDBusConnection>
#endif
#include <QScreen>
#include <cstdio>

namespace {

// Answers --help, --version and argument errors before any window system is needed.
int answerWithoutWindow(int argc, char** argv, ombrel::StartupOptions& scratch) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    const ombrel::ArgumentsResult result = ombrel::readCommandLine(args, QSize(), scratch);
    if (result.action != ombrel::ArgumentsAction::Run) {
        ombrel::attachStandardOutput();
    }
    switch (result.action) {
    case ombrel::ArgumentsAction::Run:
        return -1;
    case ombrel::ArgumentsAction::ShowUsage:
        std::fputs(ombrel::commandLineUsage().toLocal8Bit().constData(), stdout);
        return 0;
    case ombrel::ArgumentsAction::ShowVersion:
        std::fputs(ombrel::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case ombrel::ArgumentsAction::Fail:
        std::fputs(result.message.toLocal8Bit().constData(), stderr);
        std::fputc('\n', stderr);
        return 2;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    ombrel::StartupOptions early; // only what decides before the settings are read
    if (const int code = answerWithoutWindow(argc, argv, early); code >= 0) {
        return code;
    }
    ombrel::applyPlatformDefaults();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Dravik"));
    QApplication::setApplicationName(QStringLiteral("Ombrel"));
    QApplication::setApplicationVersion(QStringLiteral(OMBREL_VERSION));
    // The Wayland app id and the notifications' desktop entry: the installed ombrel.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("ombrel"));
    // The window decides the exit code; closing it must not quit with 0 first.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString archive = ombrel::findArchivePath(ombrel::ArchiveSearchDirs::forThisProcess());
    if (!ombrel::passStartupSplash(archive, early.showSplash)) {
        return ombrel::corruptInstallationExitCode; // scripts and session managers see it fail
    }
    ombrel::MainWindowSetup setup{
        {}, ombrel::SettingsStore::user(), ombrel::InstanceChannel::defaultFolder(), {}, {}};
    setup.config.load(archive);
#ifdef QT_DBUS_LIB
    setup.notificationBus = QDBusConnection::sessionBus();
#endif
    ombrel::applyStartupSettings(setup.startup, setup.settings);
    const QSize screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize();
    ombrel::readCommandLine(QApplication::arguments().mid(1), screen, setup.startup);

    ombrel::MainWindow window(std::move(setup));
    QObject::connect(&window, &ombrel::MainWindow::finished, &app, &QApplication::exit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
