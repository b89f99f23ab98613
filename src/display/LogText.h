#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <string_view>

namespace ombrel {

/// A display text, held as Latin-1 bytes when every character is below U+0100 (most logs:
/// half the memory of UTF-16, and an ASCII file's bytes need no decoding at all) and as UTF-16
/// otherwise. Positions are the same either way: one byte is one UTF-16 code unit. Copies
/// share the characters.
class LogText {
public:
    /// An empty text.
    LogText() = default;
    /// A UTF-16 text.
    LogText(QString text) : wide_(std::move(text)) {} // NOLINT: any QString is a text
    /// A text of Latin-1 bytes: each byte is the code of its character.
    static LogText fromLatin1(QByteArray bytes);

    /// True when the characters are held as Latin-1 bytes.
    bool isLatin1() const { return latin1_; }
    /// Characters (UTF-16 code units) of the text.
    std::int64_t size() const { return latin1_ ? bytes_.size() : wide_.size(); }
    /// True when the text has no characters.
    bool isEmpty() const { return size() == 0; }
    /// The character at position (0 <= position < size()).
    QChar at(std::int64_t position) const {
        const auto at = static_cast<qsizetype>(position);
        return latin1_ ? QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes_.at(at))))
                       : wide_.at(at);
    }
    /// The characters from start (clamped to the text), at most length of them.
    QString mid(std::int64_t start, std::int64_t length) const;
    /// True when the characters from start on are those of text (compared without a copy).
    bool holdsAt(std::int64_t start, QStringView text) const;
    /// The whole text as UTF-16; a copy for a Latin-1 text, so ask for parts where they do.
    QString toString() const { return latin1_ ? QString::fromLatin1(bytes_) : wide_; }

    /// The bytes of a Latin-1 text.
    std::string_view latin1() const {
        return {bytes_.constData(), static_cast<std::size_t>(bytes_.size())};
    }
    /// The code units of a UTF-16 text.
    std::u16string_view wide() const {
        return {reinterpret_cast<const char16_t*>(wide_.constData()),
                static_cast<std::size_t>(wide_.size())};
    }
    /// Calls f with the characters as a std::string_view (Latin-1) or a std::u16string_view.
    template <class F> decltype(auto) visit(F&& f) const {
        return latin1_ ? f(latin1()) : f(wide());
    }

    /// Writable bytes for a rewrite in place (detaches a shared text).
    char* latin1Data() { return bytes_.data(); }
    /// Writable code units for a rewrite in place (detaches a shared text).
    char16_t* wideData() { return reinterpret_cast<char16_t*>(wide_.data()); }
    /// Keeps the first size characters and gives back the rest of the memory.
    void truncate(std::int64_t size);

    /// Same characters, however they are held.
    friend bool operator==(const LogText& a, const LogText& b);

private:
    QByteArray bytes_;
    QString wide_;
    bool latin1_ = false;
};

} // namespace ombrel
