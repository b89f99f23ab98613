#pragma once
// Journal files for the benchmarks, written by systemd-journal-remote from export text, and
// a window that watches them.

#include "app/MainWindow.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

namespace ombrel::bench {

/// The collector that writes journal files from export text.
constexpr const char* journalRemote = "/lib/systemd/systemd-journal-remote";
/// Realtime of the next generated entry, in microseconds since 1970.
extern std::int64_t nextStamp;

/// count entries in journal export form, with the fields a busy system writes; those of host
/// (when given) carry its name and IDs; marker (when given) is each one's message.
QByteArray exportEntries(int count, std::uint32_t seed, const QByteArray& marker = {},
                         const QByteArray& host = {});
/// Starts journal-remote appending text to file in dir; the caller waits for it.
void startAppend(QProcess& tool, const QString& dir, const QByteArray& text,
                 const QString& file = QStringLiteral("system.journal"));
/// Appends text to dir's system.journal; true when journal-remote succeeded.
bool append(const QString& dir, const QByteArray& text);
/// A shown window with its settings in home, System ticked on the journal files in dir and
/// count entries to display, ready for Start.
std::unique_ptr<MainWindow> systemLogWindow(const QString& dir, const QTemporaryDir& home,
                                            int count);
/// This process's resident memory.
double residentMegabytes();
/// Of this process's resident memory, the mapped files' pages (shared with the page cache and
/// given back at need), in MB.
double residentFileMegabytes();

} // namespace ombrel::bench
