#include "eventlog/JournalMerge.h"

#include "eventlog/JournalEntry.h"
#include "eventlog/JournalOpen.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <queue>
#include <systemd/sd-journal.h>

namespace ombrel {

namespace {

/// The cursor of the journal's current entry; empty when it has none.
QByteArray cursorOf(sd_journal* journal) {
    char* cursor = nullptr;
    if (sd_journal_get_cursor(journal, &cursor) < 0) {
        return {};
    }
    const std::unique_ptr<char, decltype(&std::free)> owned(cursor, &std::free);
    return QByteArray(owned.get());
}

/// One file opened alone, narrowed to hosts, at its end; null when it cannot be opened now (a
/// file gone meanwhile; damaged ones were left out of the files by their folder).
JournalPointer openAtEnd(const QString& path, const QStringList& hosts) {
    OpenedFiles opened = openJournalFiles({path});
    if (!opened.journal || !opened.skipped.empty() || matchHosts(opened.journal.get(), hosts) < 0 ||
        sd_journal_seek_tail(opened.journal.get()) < 0) {
        return {};
    }
    return std::move(opened.journal);
}

constexpr std::size_t stopCheckEvery = 256;

} // namespace

JournalMerge::JournalMerge(QStringList hosts) : hosts_(std::move(hosts)) {}

JournalMerge::FileState* JournalMerge::stateOf(const JournalFileId& file) {
    const auto found = std::find_if(states_.begin(), states_.end(), [&](const FileState& state) {
        return state.device == file.device && state.inode == file.inode;
    });
    return found == states_.end() ? nullptr : &*found;
}

JournalMerge::Entry JournalMerge::entryAt(sd_journal* journal) {
    const JournalFields fields = currentJournalFields(journal);
    Entry entry{fields.realtimeMicroseconds, eventRecordFromJournal(fields)};
    entry.record.computer = *names_.insert(entry.record.computer);
    entry.record.machineId = *names_.insert(entry.record.machineId);
    return entry;
}

std::vector<EventRecord> JournalMerge::newest(const std::vector<JournalFileId>& files,
                                              const JournalChanges& changes, std::int64_t count,
                                              const StopSignal& stop) {
    release();
    const bool gone = std::any_of(states_.begin(), states_.end(), [&](const FileState& state) {
        return std::none_of(files.begin(), files.end(), [&](const JournalFileId& file) {
            return file.device == state.device && file.inode == state.inode;
        });
    });
    bool complete = true;
    if (count <= 0) {
        kept_.clear();
        states_.clear();
    } else if (count != count_ || gone) {
        complete = readAll(files, count, stop);
    } else {
        complete = readChanged(files, changes, count, stop);
    }
    count_ = complete && count > 0 ? count : -1;
    std::vector<EventRecord> records;
    records.reserve(kept_.size());
    for (const Entry& entry : kept_) {
        records.push_back(entry.record);
    }
    return records;
}

bool JournalMerge::readAll(const std::vector<JournalFileId>& files, std::int64_t count,
                           const StopSignal& stop) {
    states_.clear();
    kept_.clear();
    names_.clear();
    // Each file from its newest entry back, always taking the newest of all: what is read of a
    // file is what shows of it, however many files there are.
    struct Reader {
        JournalPointer journal;
        std::uint64_t realtime = 0;
    };
    std::vector<Reader> readers;
    for (const JournalFileId& file : files) {
        FileState state{file.device, file.inode, {}};
        Reader reader{openAtEnd(file.path, hosts_)};
        if (reader.journal && sd_journal_previous(reader.journal.get()) > 0 &&
            sd_journal_get_realtime_usec(reader.journal.get(), &reader.realtime) >= 0) {
            state.cursor = cursorOf(reader.journal.get());
            readers.push_back(std::move(reader));
        }
        states_.push_back(std::move(state));
    }
    const auto older = [&](std::size_t a, std::size_t b) {
        return readers[a].realtime < readers[b].realtime;
    };
    std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(older)> next(older);
    for (std::size_t i = 0; i < readers.size(); ++i) {
        next.push(i);
    }
    while (!next.empty() && static_cast<std::int64_t>(kept_.size()) < count) {
        if (kept_.size() % stopCheckEvery == 0 && stop.raised()) {
            return false;
        }
        const std::size_t at = next.top();
        next.pop();
        Reader& reader = readers[at];
        kept_.push_back(entryAt(reader.journal.get()));
        if (sd_journal_previous(reader.journal.get()) > 0 &&
            sd_journal_get_realtime_usec(reader.journal.get(), &reader.realtime) >= 0) {
            next.push(at);
        }
    }
    for (Reader& reader : readers) {
        opened_.push_back(std::move(reader.journal));
    }
    std::reverse(kept_.begin(), kept_.end());
    // A file's own entries go by its order; a clock set back within one is put in time order.
    std::stable_sort(kept_.begin(), kept_.end(),
                     [](const Entry& a, const Entry& b) { return a.realtime < b.realtime; });
    return true;
}

bool JournalMerge::readChanged(const std::vector<JournalFileId>& files,
                               const JournalChanges& changes, std::int64_t count,
                               const StopSignal& stop) {
    std::vector<Entry> gained;
    for (const JournalFileId& file : files) {
        FileState* state = stateOf(file);
        if (state && !changes.all && !changes.paths.contains(file.path)) {
            continue;
        }
        if (!state) {
            states_.push_back({file.device, file.inode, {}});
            state = &states_.back();
        }
        JournalPointer journal = openAtEnd(file.path, hosts_);
        if (!journal) {
            continue;
        }
        sd_journal* reading = journal.get();
        opened_.push_back(std::move(journal));
        // Back from the newest entry to the last one read: entries that came late with older
        // stamps are found too, which reading on in time order would pass by.
        const std::size_t first = gained.size();
        QByteArray newestCursor;
        while (static_cast<std::int64_t>(gained.size() - first) < count &&
               sd_journal_previous(reading) > 0) {
            if (!state->cursor.isEmpty() &&
                sd_journal_test_cursor(reading, state->cursor.constData()) > 0) {
                break;
            }
            if (newestCursor.isEmpty()) {
                newestCursor = cursorOf(reading);
            }
            if ((gained.size() - first) % stopCheckEvery == 0 && stop.raised()) {
                return false;
            }
            gained.push_back(entryAt(reading));
        }
        std::reverse(gained.begin() + static_cast<std::ptrdiff_t>(first), gained.end());
        if (!newestCursor.isEmpty()) {
            state->cursor = std::move(newestCursor);
        }
    }
    if (gained.empty()) {
        return true;
    }
    const auto byTime = [](const Entry& a, const Entry& b) { return a.realtime < b.realtime; };
    std::stable_sort(gained.begin(), gained.end(), byTime);
    const auto middle = static_cast<std::ptrdiff_t>(kept_.size());
    kept_.insert(kept_.end(), std::make_move_iterator(gained.begin()),
                 std::make_move_iterator(gained.end()));
    std::inplace_merge(kept_.begin(), kept_.begin() + middle, kept_.end(), byTime);
    if (const auto over = static_cast<std::int64_t>(kept_.size()) - count; over > 0) {
        kept_.erase(kept_.begin(), kept_.begin() + static_cast<std::ptrdiff_t>(over));
    }
    return true;
}

} // namespace ombrel
