#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ombrel {

/// A display text. Most logs are held narrow, one byte per UTF-16 code unit: a unit below
/// U+0100 as its own byte and any other unit as a 0 byte whose unit is listed apart, in order
/// (half the memory of UTF-16 for a log with a few such characters, and an ASCII file's bytes
/// need no decoding at all). A text with many such units is held as UTF-16. Positions are the
/// same either way. Copies share the characters.
class LogText {
public:
    /// An empty text.
    LogText() = default;
    /// A UTF-16 text.
    LogText(QString text) : wide_(std::move(text)) {} // NOLINT: any QString is a text
    /// A narrow text: each 0 byte of bytes stands for the next unit of wideUnits, every other
    /// byte for the character of its code. bytes must hold as many 0 bytes as wideUnits units,
    /// and no unit listed apart may end a line (see lineEnds).
    static LogText fromNarrow(QByteArray bytes, QString wideUnits);
    /// text held narrow, unless it holds a line end other than CR and LF.
    static LogText narrowed(QStringView text);

    /// True when the text is held narrow.
    bool isNarrow() const { return narrow_; }
    /// Characters (UTF-16 code units) of the text.
    std::int64_t size() const { return narrow_ ? bytes_.size() : wide_.size(); }
    /// True when the text has no characters.
    bool isEmpty() const { return size() == 0; }
    /// The character at position (0 <= position < size()).
    QChar at(std::int64_t position) const;
    /// The characters from start (clamped to the text), at most length of them.
    QString mid(std::int64_t start, std::int64_t length) const;
    /// True when the length characters from start are those of other from otherStart; compared
    /// in place, however either text is held.
    bool holdsAt(std::int64_t start, const LogText& other, std::int64_t otherStart,
                 std::int64_t length) const;
    /// The whole text as UTF-16; a copy for a narrow text, so ask for parts where they do.
    QString toString() const { return narrow_ ? mid(0, size()) : wide_; }

    /// The bytes of a narrow text (0 for a unit listed apart): as good as the characters for
    /// finding line ends, which are all below U+0100 or listed apart.
    std::string_view narrow() const {
        return {bytes_.constData(), static_cast<std::size_t>(bytes_.size())};
    }
    /// The units of a narrow text listed apart, in text order.
    QStringView wideUnits() const { return wideUnits_; }
    /// How many units listed apart lie before position in a narrow text.
    std::int64_t wideUnitsBefore(std::int64_t position) const;
    /// The code units of a UTF-16 text.
    std::u16string_view wide() const {
        return {reinterpret_cast<const char16_t*>(wide_.constData()),
                static_cast<std::size_t>(wide_.size())};
    }
    /// Calls f with narrow() or wide(): what finds line ends in either form.
    template <class F> decltype(auto) visit(F&& f) const {
        return narrow_ ? f(narrow()) : f(wide());
    }

    /// Rewrites the text in place: f(chars, size) gets the bytes (char*) or code units
    /// (char16_t*) and returns how many stay. It may move and drop characters, but keeps every
    /// 0 byte of a narrow text in its order. Detaches a shared text.
    template <class F> void rewrite(F&& f) {
        const std::int64_t size = this->size();
        truncate(narrow_ ? f(bytes_.data(), size)
                         : f(reinterpret_cast<char16_t*>(wide_.data()), size));
    }

    /// Same characters, however they are held.
    friend bool operator==(const LogText& a, const LogText& b);

private:
    // Keeps the first size characters and gives back the rest of the memory.
    void truncate(std::int64_t size);
    void indexWideUnits();

    QByteArray bytes_;
    QString wideUnits_;
    // Units listed apart before each block of blockSize bytes; empty when there are none.
    std::vector<std::int64_t> wideBefore_;
    QString wide_;
    bool narrow_ = false;
};

} // namespace ombrel
