#include "eventlog/WinEventLogSource.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <windows.h>

namespace ombrel {

namespace {

constexpr DWORD firstBufferSize = 64 * 1024;

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString systemMessage(DWORD error) {
    return qt_error_string(static_cast<int>(error));
}

// The message files registered for source in log: the expanded paths of its EventMessageFile.
QStringList registeredMessageFiles(const QString& log, const QString& source) {
    const QString key =
        QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\EventLog\\%1\\%2").arg(log, source);
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wide(key), L"EventMessageFile",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, nullptr,
                     &size) != ERROR_SUCCESS ||
        size < sizeof(wchar_t)) {
        return {};
    }
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wide(key), L"EventMessageFile",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, value.data(),
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    QStringList files;
    const QString list = QString::fromWCharArray(value.data());
    for (const QString& file : list.split(u';', Qt::SkipEmptyParts)) {
        const DWORD needed = ExpandEnvironmentStringsW(wide(file), nullptr, 0);
        std::vector<wchar_t> expanded(needed + 1, L'\0');
        if (needed > 0 && ExpandEnvironmentStringsW(wide(file), expanded.data(), needed) > 0) {
            files << QString::fromWCharArray(expanded.data());
        }
    }
    return files;
}

} // namespace

// The log's own handles: one to be told of changes through, and the event it signals.
struct WinEventLogSource::Handles {
    HANDLE log = nullptr;
    HANDLE changed = nullptr; // auto-reset: a finished wait takes in the change

    ~Handles() {
        if (log) {
            CloseEventLog(log);
        }
        if (changed) {
            CloseHandle(changed);
        }
    }
};

QString WinEventLogSource::logName(JournalKind kind) {
    return kind == JournalKind::System ? QStringLiteral("System") : QStringLiteral("Application");
}

WinEventLogSource::WinEventLogSource(const JournalSourceOptions& options)
    : log_(logName(options.kind)), hosts_(options.hosts), handles_(std::make_unique<Handles>()) {
    handles_->log = OpenEventLogW(nullptr, wide(log_));
    if (!handles_->log) {
        openProblem_ = QStringLiteral("Cannot open the %1 event log: %2")
                           .arg(log_, systemMessage(GetLastError()));
        return;
    }
    handles_->changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!handles_->changed || !NotifyChangeEventLog(handles_->log, handles_->changed)) {
        openProblem_ = QStringLiteral("Cannot watch the %1 event log: %2")
                           .arg(log_, systemMessage(GetLastError()));
    }
}

WinEventLogSource::~WinEventLogSource() {
    for (const auto& [source, modules] : messageFiles_) {
        for (void* module : modules) {
            FreeLibrary(static_cast<HMODULE>(module));
        }
    }
}

QString WinEventLogSource::problem() const {
    return openProblem_.isEmpty() ? readProblem_ : openProblem_;
}

template <class Take> void WinEventLogSource::readBackwards(const StopSignal* stop, Take take) {
    // A handle of its own for each read: a fresh handle reads backwards from the newest record.
    readProblem_.clear();
    const HANDLE log = OpenEventLogW(nullptr, wide(log_));
    if (!log) {
        readProblem_ = QStringLiteral("Cannot open the %1 event log: %2")
                           .arg(log_, systemMessage(GetLastError()));
        return;
    }
    std::vector<char> buffer(firstBufferSize);
    for (bool more = true; more && !(stop && stop->raised());) {
        DWORD read = 0;
        DWORD needed = 0;
        if (!ReadEventLogW(log, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0,
                           buffer.data(), static_cast<DWORD>(buffer.size()), &read, &needed)) {
            const DWORD error = GetLastError();
            if (error == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
                buffer.resize(needed); // one record larger than the buffer
                continue;
            }
            if (error != ERROR_HANDLE_EOF) {
                readProblem_ = QStringLiteral("Cannot read the %1 event log: %2")
                                   .arg(log_, systemMessage(error));
            }
            break;
        }
        const auto records = readEventLogRecords(
            QByteArrayView(buffer.data(), std::min<qsizetype>(read, std::ssize(buffer))));
        if (records.empty()) {
            break; // nothing readable came back: never spin on it
        }
        for (const EventLogRecordFields& record : records) {
            if (!take(record)) {
                more = false;
                break;
            }
        }
    }
    CloseEventLog(log);
}

std::vector<EventRecord> WinEventLogSource::newest(std::int64_t count, const StopSignal& stop) {
    if (count <= 0 || !handles_->log) {
        return {};
    }
    std::vector<EventLogRecordFields> found; // newest first
    readBackwards(&stop, [&](const EventLogRecordFields& record) {
        // Computer names are not case-sensitive on Windows.
        if (hosts_.isEmpty() || std::any_of(hosts_.begin(), hosts_.end(), [&](const QString& host) {
                return host.compare(record.computer, Qt::CaseInsensitive) == 0;
            })) {
            found.push_back(record);
        }
        return std::ssize(found) < count;
    });
    std::vector<EventRecord> records;
    records.reserve(found.size());
    for (auto record = found.rbegin(); record != found.rend() && !stop.raised(); ++record) {
        records.push_back(eventRecordOf(*record, messageOf(*record)));
    }
    return records;
}

WaitOutcome WinEventLogSource::waitForChange(const StopSignal& stop) {
    // A log that cannot be watched never changes: only stop ends the wait.
    return stop.waitFor(handles_->changed, -1);
}

QStringList WinEventLogSource::hostNames() {
    QSet<QString> names;
    readBackwards(nullptr, [&](const EventLogRecordFields& record) {
        names.insert(record.computer);
        return true;
    });
    QStringList sorted(names.begin(), names.end());
    sorted.sort(Qt::CaseInsensitive);
    return sorted;
}

const std::vector<void*>& WinEventLogSource::messageFiles(const QString& source) {
    auto found = messageFiles_.find(source);
    if (found != messageFiles_.end()) {
        return found->second;
    }
    std::vector<void*> modules;
    for (const QString& file : registeredMessageFiles(log_, source)) {
        // As data only: nothing of the file runs.
        if (const HMODULE module = LoadLibraryExW(
                wide(file), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
            modules.push_back(module);
        }
    }
    return messageFiles_.emplace(source, std::move(modules)).first->second;
}

QString WinEventLogSource::messageOf(const EventLogRecordFields& record) {
    // Every insertion a message may name (%1 to %99) has a string, so FormatMessageW never reads
    // past the array, whatever the message file says.
    std::array<const wchar_t*, 99> inserts{};
    inserts.fill(L"");
    for (qsizetype i = 0; i < record.strings.size() && i < std::ssize(inserts); ++i) {
        inserts[static_cast<std::size_t>(i)] = wide(record.strings[i]);
    }
    std::array<DWORD_PTR, 99> arguments{};
    std::transform(inserts.begin(), inserts.end(), arguments.begin(),
                   [](const wchar_t* insert) { return reinterpret_cast<DWORD_PTR>(insert); });
    for (void* module : messageFiles(record.source)) {
        wchar_t* text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                               FORMAT_MESSAGE_ARGUMENT_ARRAY,
                           module, record.eventId, 0, reinterpret_cast<wchar_t*>(&text), 0,
                           reinterpret_cast<va_list*>(arguments.data()));
        if (length > 0 && text) {
            QString message = QString::fromWCharArray(text, static_cast<qsizetype>(length));
            LocalFree(text);
            return message;
        }
    }
    return {};
}

} // namespace ombrel
