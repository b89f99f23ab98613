#include "eventlog/JournalOpen.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <memory>
#include <systemd/sd-journal.h>

namespace ombrel {

namespace {

/// Opens paths as one journal; negative errno when the library refuses any of them.
int openAll(const QStringList& paths, JournalPointer& journal) {
    std::vector<QByteArray> encoded;
    encoded.reserve(static_cast<std::size_t>(paths.size()));
    std::vector<const char*> names;
    for (const QString& path : paths) {
        encoded.push_back(QFile::encodeName(path));
        names.push_back(encoded.back().constData());
    }
    names.push_back(nullptr);
    sd_journal* opened = nullptr;
    const int result = sd_journal_open_files(&opened, names.data(), 0);
    journal.reset(result < 0 ? nullptr : opened);
    return result;
}

/// Milliseconds from now until a CLOCK_MONOTONIC deadline in microseconds; -1 for none.
int millisecondsUntil(std::uint64_t deadline) {
    if (deadline == std::numeric_limits<std::uint64_t>::max()) {
        return -1;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto nowUs = static_cast<std::uint64_t>(now.tv_sec) * 1000000U +
                       static_cast<std::uint64_t>(now.tv_nsec) / 1000U;
    if (deadline <= nowUs) {
        return 0;
    }
    return static_cast<int>(std::min<std::uint64_t>((deadline - nowUs + 999U) / 1000U,
                                                    std::numeric_limits<int>::max()));
}

} // namespace

void JournalCloser::operator()(sd_journal* journal) const {
    sd_journal_close(journal);
}

OpenedFiles openJournalFiles(const QStringList& paths) {
    OpenedFiles opened;
    int result = openAll(paths, opened.journal);
    if (result >= 0) {
        return opened;
    }
    // The library opens all or nothing: find the files it refuses one by one (rarely needed).
    QStringList good;
    for (const QString& path : paths) {
        JournalPointer single;
        const int alone = openAll({path}, single); // the reason, for the message pane
        if (alone >= 0) {
            good.append(path);
        } else if (alone != -ENOENT) {
            opened.skipped.push_back({path, -alone});
        }
    }
    result = openAll(good, opened.journal);
    opened.error = result < 0 ? -result : 0;
    return opened;
}

bool opensAsJournal(const QString& path) {
    JournalPointer single;
    return openAll({path}, single) >= 0;
}

int matchHosts(sd_journal* journal, const QStringList& hosts) {
    for (const QString& host : hosts) {
        const QByteArray match = "_HOSTNAME=" + host.toUtf8();
        // Matches of one field are alternatives already; the disjunction says so outright.
        if (const int added = sd_journal_add_match(journal, match.constData(),
                                                   static_cast<std::size_t>(match.size()));
            added < 0) {
            return added;
        }
        if (const int added = sd_journal_add_disjunction(journal); added < 0) {
            return added;
        }
    }
    return 0;
}

int addJournalWaitTarget(sd_journal* journal, int descriptor, std::vector<WaitTarget>& targets,
                         int& timeoutMs) {
    if (descriptor < 0) {
        return -descriptor;
    }
    const int events = sd_journal_get_events(journal);
    if (events < 0) {
        return -events;
    }
    targets.push_back({descriptor, static_cast<short>(events)});
    std::uint64_t deadline = std::numeric_limits<std::uint64_t>::max();
    sd_journal_get_timeout(journal, &deadline);
    timeoutMs = soonerTimeout(timeoutMs, millisecondsUntil(deadline));
    return 0;
}

JournalFields currentJournalFields(sd_journal* journal) {
    JournalFields fields;
    char* cursor = nullptr;
    if (sd_journal_get_cursor(journal, &cursor) >= 0) {
        const std::unique_ptr<char, decltype(&std::free)> owned(cursor, &std::free);
        fields.sequenceNumber = cursorSequenceNumber(owned.get());
    }
    std::uint64_t realtime = 0;
    if (sd_journal_get_realtime_usec(journal, &realtime) >= 0) {
        fields.realtimeMicroseconds = realtime;
    }
    sd_journal_restart_data(journal);
    const void* data = nullptr;
    std::size_t length = 0;
    // Fields that cannot be read (compressed with a method this library lacks) are skipped.
    while (sd_journal_enumerate_available_data(journal, &data, &length) > 0) {
        fields.take(QByteArrayView(static_cast<const char*>(data), static_cast<qsizetype>(length)));
    }
    return fields;
}

int soonerTimeout(int timeoutMs, int limitMs) {
    if (limitMs < 0) {
        return timeoutMs;
    }
    return timeoutMs < 0 ? limitMs : std::min(timeoutMs, limitMs);
}

} // namespace ombrel
