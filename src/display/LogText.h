#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <string_view>

namespace ombrel {

/// A display text, held as its bytes when every character is ASCII (most logs: half the memory
/// of UTF-16 and no decoding) and as UTF-16 otherwise. Positions are the same either way: one
/// ASCII byte is one UTF-16 code unit. Copies share the characters.
class LogText {
public:
    /// An empty text.
    LogText() = default;
    /// A UTF-16 text.
    LogText(QString text) : wide_(std::move(text)) {} // NOLINT: any QString is a text
    /// A text of ASCII bytes; every byte must be below 0x80.
    static LogText fromAscii(QByteArray bytes);

    /// True when the characters are held as ASCII bytes.
    bool isAscii() const { return ascii_; }
    /// Characters (UTF-16 code units) of the text.
    std::int64_t size() const { return ascii_ ? bytes_.size() : wide_.size(); }
    /// True when the text has no characters.
    bool isEmpty() const { return size() == 0; }
    /// The character at position (0 <= position < size()).
    QChar at(std::int64_t position) const {
        return ascii_ ? QChar(static_cast<char16_t>(bytes_.at(static_cast<qsizetype>(position))))
                      : wide_.at(static_cast<qsizetype>(position));
    }
    /// The characters from start (clamped to the text), at most length of them.
    QString mid(std::int64_t start, std::int64_t length) const;
    /// True when the characters from start on are those of text (compared without a copy).
    bool holdsAt(std::int64_t start, QStringView text) const;
    /// The whole text as UTF-16; a copy for an ASCII text, so ask for parts where they do.
    QString toString() const { return ascii_ ? QString::fromLatin1(bytes_) : wide_; }

    /// The bytes of an ASCII text.
    std::string_view ascii() const {
        return {bytes_.constData(), static_cast<size_t>(bytes_.size())};
    }
    /// The code units of a UTF-16 text.
    std::u16string_view wide() const {
        return {reinterpret_cast<const char16_t*>(wide_.constData()),
                static_cast<size_t>(wide_.size())};
    }
    /// Calls f with the characters as a std::string_view or a std::u16string_view.
    template <class F> decltype(auto) visit(F&& f) const { return ascii_ ? f(ascii()) : f(wide()); }

    /// Writable characters for a rewrite in place (detaches a shared text).
    char* asciiData() { return bytes_.data(); }
    /// Writable code units for a rewrite in place (detaches a shared text).
    char16_t* wideData() { return reinterpret_cast<char16_t*>(wide_.data()); }
    /// Keeps the first size characters and gives back the rest of the memory.
    void truncate(std::int64_t size);

    /// Same characters, however they are held.
    friend bool operator==(const LogText& a, const LogText& b);

private:
    QByteArray bytes_;
    QString wide_;
    bool ascii_ = false;
};

} // namespace ombrel
