#include "support/TestJournal.h"

#include <QProcess>
#include <QtEndian>
#include <algorithm>

namespace ombrel::test {

namespace {

/// One field in journal export form: "NAME=value", or the binary form with a little-endian
/// length for a value with control bytes.
void exportField(QByteArray& out, const QByteArray& name, const QByteArray& value) {
    const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 || c == '\t';
    });
    if (plain) {
        out += name + '=' + value + '\n';
        return;
    }
    char length[8];
    qToLittleEndian<quint64>(static_cast<quint64>(value.size()), length);
    out += name + '\n' + QByteArray(length, 8) + value + '\n';
}

class FakeSource final : public RecordSource {
public:
    explicit FakeSource(FakeLog& log) : log_(log) { ++log_.alive; }
    ~FakeSource() override { --log_.alive; }
    QString problem() const override { return {}; }
    void takeInChanges() override {}
    std::vector<EventRecord> newest(std::int64_t count, const StopSignal&) override {
        ++log_.reads;
        const auto take = std::clamp<std::int64_t>(count, 0, std::ssize(log_.records));
        return {log_.records.end() - take, log_.records.end()};
    }
    WaitOutcome waitForChange(const StopSignal& stop) override {
        switch (log_.wait) {
        case FakeLog::Wait::UntilStopped:
            return {stop.sleepFor(-1) ? WaitOutcome::Kind::Stopped : WaitOutcome::Kind::Ready};
        case FakeLog::Wait::Ready:
            return {stop.raised() ? WaitOutcome::Kind::Stopped : WaitOutcome::Kind::Ready};
        case FakeLog::Wait::Fail:
            break;
        }
        return {WaitOutcome::Kind::Failed, log_.waitError};
    }

private:
    FakeLog& log_;
};

} // namespace

bool TestJournal::append(const std::vector<JournalEntryFields>& entries, const QString& file) {
    QByteArray text;
    for (const JournalEntryFields& entry : entries) {
        const auto gives = [&entry](const char* name) {
            return std::any_of(entry.begin(), entry.end(),
                               [name](const auto& field) { return field.first == name; });
        };
        if (!gives("__REALTIME_TIMESTAMP")) {
            exportField(text, "__REALTIME_TIMESTAMP", QByteArray::number(nextSecond_++ * 1000000));
        }
        if (!gives("__MONOTONIC_TIMESTAMP")) {
            exportField(text, "__MONOTONIC_TIMESTAMP", "1000");
        }
        if (!gives("_BOOT_ID")) {
            exportField(text, "_BOOT_ID", "0123456789abcdef0123456789abcdef");
        }
        for (const auto& [name, value] : entry) {
            exportField(text, name, value);
        }
        text += '\n';
    }
    QProcess tool;
    tool.start(QStringLiteral(OMBREL_JOURNAL_REMOTE),
               {QStringLiteral("-o"), dir_.filePath(file), QStringLiteral("-")});
    tool.write(text);
    tool.closeWriteChannel();
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

RecordSourceMaker FakeLog::maker() {
    return [this](const JournalSourceOptions&) -> std::unique_ptr<RecordSource> {
        return std::make_unique<FakeSource>(*this);
    };
}

} // namespace ombrel::test
