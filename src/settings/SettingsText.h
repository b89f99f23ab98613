#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace ombrel {

/// The bytes of a settings file, read and edited one value at a time. Values are the
/// "name=value" lines before any section or under [General]; a line whose first non-blank
/// character is ";" or "#" is a comment. An edit replaces or adds one line and keeps every
/// other byte, so comments, other values and unknown sections stay exactly as written.
class SettingsText {
public:
    /// Wraps the file's bytes (UTF-8, with "\n" or "\r\n" line ends).
    explicit SettingsText(QByteArray bytes);

    /// The value of name (case-sensitive; the last line wins), or nothing when it has no line.
    std::optional<QString> value(QStringView name) const;
    /// Sets name to text: its line's value is rewritten unless it already reads as text, or a
    /// line is added at the end of [General]. False, changing nothing, for a name that no line
    /// could hold (empty, with "=" or a control character, blanks at an end, or "[", ";", "#"
    /// first).
    bool setValue(QStringView name, QStringView text);
    /// The file's bytes with the edits made.
    const QByteArray& bytes() const { return bytes_; }

private:
    struct Scan;
    Scan scan(QStringView name) const;

    QByteArray bytes_;
};

} // namespace ombrel
