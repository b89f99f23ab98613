#include "JournalExport.h"

#include "LogGenerator.h"
#include "app/CommandId.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <algorithm>
#include <random>
#include <unistd.h>

namespace ombrel::bench {

std::int64_t nextStamp = 1700000000000000;

QByteArray exportEntries(int count, std::uint32_t seed, const QByteArray& marker,
                         const QByteArray& host) {
    static const char* const programs[] = {"sshd", "cron", "kernel", "nginx", "systemd", "dbus"};
    std::mt19937 random(seed);
    // Enough text for several lines: a single one would leave nothing to take lines from.
    const QList<QByteArray> lines = generateLog(std::max(count, 16) * 150LL, seed).split('\n');
    QByteArray out;
    out.reserve(count * 400LL);
    for (int i = 0; i < count; ++i) {
        const QByteArray& line = lines[i % (lines.size() - 1)];
        const QByteArray program = programs[random() % std::size(programs)];
        out += "__REALTIME_TIMESTAMP=" + QByteArray::number(nextStamp) + "\n";
        out += "__MONOTONIC_TIMESTAMP=" + QByteArray::number(nextStamp - 1699990000000000) + "\n";
        if (host.isEmpty()) {
            out += "_BOOT_ID=0123456789abcdef0123456789abcdef\n";
        } else {
            const QByteArray id = QCryptographicHash::hash(host, QCryptographicHash::Md5).toHex();
            out += "_BOOT_ID=" + id + "\n_MACHINE_ID=" + id + "\n_HOSTNAME=" + host + "\n";
        }
        out += "_TRANSPORT=syslog\n";
        out += "PRIORITY=" + QByteArray::number(random() % 8) + "\n";
        out += "_PID=" + QByteArray::number(100 + random() % 60000) + "\n";
        out += "SYSLOG_IDENTIFIER=" + program + "\n_COMM=" + program + "\n";
        out += "_SYSTEMD_UNIT=" + program + ".service\n";
        out +=
            "MESSAGE=" + (marker.isEmpty() ? line.mid(line.indexOf("]: ") + 3) : marker) + "\n\n";
        nextStamp += 1000;
    }
    return out;
}

/// Starts systemd-journal-remote appending text to a journal file of the folder.
void startAppend(QProcess& tool, const QString& dir, const QByteArray& text, const QString& file) {
    tool.start(QString::fromLatin1(journalRemote),
               {QStringLiteral("-o"), dir + u'/' + file, QStringLiteral("-")});
    tool.waitForStarted();
    tool.write(text);
    tool.closeWriteChannel();
}

bool append(const QString& dir, const QByteArray& text) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startAppend(tool, dir, text);
    return tool.waitForFinished(600000) && tool.exitCode() == 0;
}

std::unique_ptr<MainWindow> systemLogWindow(const QString& dir, const QTemporaryDir& home,
                                            int count) {
    StartupOptions startup;
    startup.journalDirectory = dir;
    auto window = std::make_unique<MainWindow>(MainWindowSetup{
        startup, SettingsStore::atFile(home.filePath(QStringLiteral("o.conf"))), {}, {}, {}});
    window->show();
    qobject_cast<QCheckBox*>(window->control(IdSystemLog))->click();
    qobject_cast<QLineEdit*>(window->control(IdCountBox))->setText(QString::number(count));
    return window;
}

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    const double pages = fields.size() > 1 ? fields[1].toDouble() : 0;
    return pages * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double residentFileMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("RssFile:")) {
            return line.mid(8).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

} // namespace ombrel::bench
