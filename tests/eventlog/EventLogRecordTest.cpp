#include "eventlog/EventLogRecord.h"

#include "eventlog/EventBlock.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

// An EVENTLOGRECORD as ReadEventLogW lays it out: the fixed part, the source and computer
// names, the insertion strings, padding to a DWORD and the closing length.
struct RecordBytes {
    std::uint32_t number = 7;
    std::uint32_t eventId = 0xC0001234;
    std::uint16_t type = 1;
    QString source = u"Service Control Manager"_qs;
    QString computer = u"PC1"_qs;
    QStringList strings;

    QByteArray bytes() const {
        QByteArray names = utf16(source) + utf16(computer);
        QByteArray texts;
        for (const QString& string : strings) {
            texts += utf16(string);
        }
        const auto stringOffset = static_cast<std::uint32_t>(56 + names.size());
        QByteArray record(56, '\0');
        record += names + texts;
        while (record.size() % 4 != 0) {
            record += '\0';
        }
        const auto length = static_cast<std::uint32_t>(record.size() + 4);
        record += dword(length);
        put(record, 0, length);
        put(record, 4, 0x654c664c);
        put(record, 8, number);
        put(record, 12, 1700000000);
        put(record, 16, 1700000001);
        put(record, 20, eventId);
        qToLittleEndian<std::uint16_t>(type, record.data() + 24);
        qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(strings.size()),
                                       record.data() + 26);
        put(record, 36, stringOffset);
        return record;
    }
    static QByteArray utf16(const QString& text) {
        QByteArray out;
        for (QChar c : text + QChar(u'\0')) {
            out += static_cast<char>(c.unicode() & 0xFF);
            out += static_cast<char>(c.unicode() >> 8);
        }
        return out;
    }
    static QByteArray dword(std::uint32_t value) {
        QByteArray out(4, '\0');
        qToLittleEndian(value, out.data());
        return out;
    }
    static void put(QByteArray& record, qsizetype at, std::uint32_t value) {
        qToLittleEndian(value, record.data() + at);
    }
};

} // namespace

TEST(EventLogRecord, ReadsTheFieldsAndEveryRecordOfABuffer) {
    RecordBytes first;
    first.strings = {u"Spooler"_qs, u"stopped"_qs, u"\u00e9t\u00e9"_qs};
    RecordBytes second;
    second.number = 8;
    second.source = u"Ombrel"_qs;
    const auto record = readEventLogRecord(first.bytes());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->length, first.bytes().size());
    EXPECT_EQ(record->recordNumber, 7u);
    EXPECT_EQ(record->timeWritten, 1700000001u);
    EXPECT_EQ(record->eventId, 0xC0001234u);
    EXPECT_EQ(record->eventType, 1);
    EXPECT_EQ(record->source, u"Service Control Manager"_qs);
    EXPECT_EQ(record->computer, u"PC1"_qs);
    EXPECT_EQ(record->strings, first.strings);

    // The records of a buffer, up to one cut short.
    const QByteArray buffer = first.bytes() + second.bytes() + second.bytes().first(60);
    const auto records = readEventLogRecords(buffer);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].recordNumber, 8u);
    EXPECT_EQ(records[1].source, u"Ombrel"_qs);
    EXPECT_TRUE(records[1].strings.isEmpty());
}

TEST(EventLogRecord, ReadsNothingOutsideTheRecord) {
    RecordBytes sample;
    sample.strings = {u"one"_qs, u"two"_qs};
    const QByteArray good = sample.bytes();
    const auto changed = [&](qsizetype at, qsizetype value) {
        QByteArray bytes = good;
        RecordBytes::put(bytes, at, static_cast<std::uint32_t>(value));
        return bytes;
    };
    EXPECT_FALSE(readEventLogRecord(good.first(55)));
    EXPECT_FALSE(readEventLogRecord(changed(0, 40)));              // shorter than its fields
    EXPECT_FALSE(readEventLogRecord(changed(0, good.size() + 4))); // longer than the buffer
    EXPECT_FALSE(readEventLogRecord(changed(4, 0)));               // not marked as a record
    EXPECT_TRUE(readEventLogRecords(changed(4, 0).repeated(2)).empty());
    // A record whose length ends it after its first bytes.
    const auto endingAfter = [](const QByteArray& bytes) {
        QByteArray record = bytes;
        RecordBytes::put(record, 0, static_cast<std::uint32_t>(record.size()));
        return record;
    };
    // Names that run to the end of the record without their NUL.
    EXPECT_FALSE(readEventLogRecord(endingAfter(good.first(56) + "S\0o\0u\0"_qba)));
    // Insertion strings that begin outside the record, or run past its end, are left out.
    const auto outside = readEventLogRecord(changed(36, good.size() + 100));
    ASSERT_TRUE(outside);
    EXPECT_TRUE(outside->strings.isEmpty());
    const qsizetype stringsAt = good.indexOf(RecordBytes::utf16(u"one"_qs));
    const auto runOver = readEventLogRecord(endingAfter(good.first(stringsAt) + "o\0n\0e\0"_qba));
    ASSERT_TRUE(runOver);
    EXPECT_EQ(runOver->computer, u"PC1"_qs);
    EXPECT_TRUE(runOver->strings.isEmpty());
}

TEST(EventLogRecord, ShowsTheMaskedIdTheTypeAndTheMessageLinesElseTheStrings) {
    const std::pair<std::uint16_t, EventType> types[] = {
        {0, EventType::Success},     {1, EventType::Error},        {2, EventType::Warning},
        {4, EventType::Information}, {8, EventType::AuditSuccess}, {16, EventType::AuditFailure},
        {3, EventType::Unknown},     {32, EventType::Unknown}};
    for (const auto& [value, type] : types) {
        EXPECT_EQ(eventTypeOf(value), type) << value;
    }
    RecordBytes sample;
    sample.strings = {u"first"_qs, u"two\r\nlines"_qs, QString()};
    const auto fields = readEventLogRecord(sample.bytes());
    ASSERT_TRUE(fields);

    const EventRecord withMessage =
        eventRecordOf(*fields, u"The first service stopped.\r\nRestart it.  \r\n\r\n"_qs);
    EXPECT_EQ(withMessage.number, 7u);
    EXPECT_EQ(withMessage.eventId, 0x1234);
    EXPECT_EQ(withMessage.timeWritten, 1700000001);
    EXPECT_EQ(withMessage.type, EventType::Error);
    EXPECT_EQ(withMessage.computer, u"PC1"_qs);
    EXPECT_EQ(withMessage.strings,
              (QStringList{u"The first service stopped."_qs, u"Restart it."_qs}));

    // Without a message: each insertion string, on as many lines as it holds.
    const EventRecord withoutMessage = eventRecordOf(*fields, QString());
    EXPECT_EQ(withoutMessage.strings,
              (QStringList{u"first"_qs, u"two"_qs, u"lines"_qs, QString()}));
    EXPECT_EQ(eventBlocks({withoutMessage}).count(u'\n'), 2 + 4 + 1);
}
