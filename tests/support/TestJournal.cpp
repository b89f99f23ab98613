#include "support/TestJournal.h"

#include <QProcess>
#include <QtEndian>
#include <algorithm>

namespace ombrel::test {

namespace {
/// One field in journal export form: "NAME=value" or, for a value with a line break or
/// other control bytes, the binary form with its little-endian 64-bit length.
void exportField(QByteArray& out, const QByteArray& name, const QByteArray& value) {
    const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 || c == '\t';
    });
    out += name;
    if (plain) {
        out += '=' + value + '\n';
        return;
    }
    char length[8];
    qToLittleEndian<quint64>(static_cast<quint64>(value.size()), length);
    out += '\n' + QByteArray(length, 8) + value + '\n';
}
} // namespace

TestJournal::TestJournal() = default;

bool TestJournal::append(const std::vector<JournalEntryFields>& entries, const QString& file) {
    QByteArray text;
    for (const JournalEntryFields& entry : entries) {
        const bool stamped = std::any_of(entry.begin(), entry.end(), [](const auto& field) {
            return field.first == "__REALTIME_TIMESTAMP";
        });
        if (!stamped) {
            exportField(text, "__REALTIME_TIMESTAMP", QByteArray::number(nextSecond_ * 1000000));
            ++nextSecond_;
        }
        exportField(text, "__MONOTONIC_TIMESTAMP", "1000");
        exportField(text, "_BOOT_ID", "0123456789abcdef0123456789abcdef");
        for (const auto& [name, value] : entry) {
            exportField(text, name, value);
        }
        text += '\n';
    }
    QProcess tool;
    tool.start(QStringLiteral(OMBREL_JOURNAL_REMOTE),
               {QStringLiteral("-o"), dir_.filePath(file), QStringLiteral("-")});
    if (!tool.waitForStarted(10000)) {
        return false;
    }
    tool.write(text);
    tool.closeWriteChannel();
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

std::vector<EventRecord> FakeRecordSource::newest(std::int64_t count, const StopSignal&) {
    ++script_.reads;
    const auto total = static_cast<std::int64_t>(script_.records.size());
    const std::int64_t take = std::clamp<std::int64_t>(count, 0, total);
    return {script_.records.end() - take, script_.records.end()};
}

WaitOutcome FakeRecordSource::waitForChange(const StopSignal& stop) {
    switch (script_.wait) {
    case Script::Wait::UntilStopped:
        return stop.waitFor(-1, 0, -1);
    case Script::Wait::Ready:
        return stop.raised() ? WaitOutcome{WaitOutcome::Kind::Stopped} : WaitOutcome{};
    case Script::Wait::Fail:
        return {WaitOutcome::Kind::Failed, script_.waitError};
    }
    return {};
}

RecordSourceMaker FakeRecordSource::maker(Script& script) {
    return [&script](const JournalSourceOptions&) -> std::unique_ptr<RecordSource> {
        return std::make_unique<FakeRecordSource>(script);
    };
}

} // namespace ombrel::test
