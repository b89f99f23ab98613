#include "settings/SettingsText.h"

#include "settings/SettingsValue.h"

#include <algorithm>

namespace ombrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front())) {
        text = text.sliced(1);
    }
    while (!text.isEmpty() && isBlank(text.back())) {
        text.chop(1);
    }
    return text;
}

bool canBeName(QStringView name) {
    const auto bad = [](QChar c) { return c.unicode() < 0x20 || c == u'=' || c == u'\x7f'; };
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), bad) &&
           !QStringView(u" \t[;#").contains(name.front()) && name.back() != u' ' &&
           name.back() != u'\t';
}

} // namespace

// Where the value of one name is, and where a new line for it would go.
struct SettingsText::Scan {
    qsizetype valueBegin = -1; // the name's last line in [General]: its value starts here,
    qsizetype valueEnd = -1;   // and ends here, before the line end
    qsizetype insertAt = -1;   // after the last value or header line of [General]
};

SettingsText::SettingsText(QByteArray bytes) : bytes_(std::move(bytes)) {}

SettingsText::Scan SettingsText::scan(QStringView name) const {
    Scan found;
    const QByteArrayView all(bytes_);
    bool general = true; // values before any section header are [General]'s, as in Qt
    qsizetype pos = all.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < all.size()) {
        const qsizetype newline = all.indexOf('\n', pos);
        const qsizetype next = newline < 0 ? all.size() : newline + 1;
        qsizetype end = newline < 0 ? all.size() : newline;
        if (end > pos && all[end - 1] == '\r') {
            --end;
        }
        const QByteArrayView line = all.sliced(pos, end - pos);
        const QByteArrayView text = trimmed(line);
        const qsizetype equals = line.indexOf('=');
        if (text.startsWith('[')) {
            const qsizetype close = text.lastIndexOf(']');
            const QByteArrayView section =
                trimmed(text.sliced(1, (close > 0 ? close : text.size()) - 1));
            general = section.compare("General", Qt::CaseInsensitive) == 0;
            if (general) {
                found.insertAt = next;
            }
        } else if (general && equals >= 0 && !text.startsWith(';') && !text.startsWith('#')) {
            found.insertAt = next;
            if (QString::fromUtf8(trimmed(line.first(equals))) == name) {
                qsizetype valueBegin = equals + 1;
                while (valueBegin < line.size() && isBlank(line[valueBegin])) {
                    ++valueBegin;
                }
                found.valueBegin = pos + valueBegin;
                found.valueEnd = end;
            }
        }
        pos = next;
    }
    return found;
}

std::optional<QString> SettingsText::value(QStringView name) const {
    const Scan found = scan(name);
    if (found.valueBegin < 0) {
        return std::nullopt;
    }
    return decodeSettingsValue(QString::fromUtf8(
        QByteArrayView(bytes_).sliced(found.valueBegin, found.valueEnd - found.valueBegin)));
}

bool SettingsText::setValue(QStringView name, QStringView text) {
    if (!canBeName(name)) {
        return false;
    }
    Scan found = scan(name);
    if (found.valueBegin >= 0) {
        const QByteArrayView written =
            QByteArrayView(bytes_).sliced(found.valueBegin, found.valueEnd - found.valueBegin);
        if (decodeSettingsValue(QString::fromUtf8(written)) != text) {
            bytes_.replace(found.valueBegin, found.valueEnd - found.valueBegin,
                           encodeSettingsValue(text).toUtf8());
        }
        return true;
    }
    // New lines follow the file's own line ends.
    const qsizetype firstNewline = bytes_.indexOf('\n');
    const QByteArray eol = firstNewline > 0 && bytes_[firstNewline - 1] == '\r' ? "\r\n" : "\n";
    QByteArray line = name.toUtf8() + '=' + encodeSettingsValue(text).toUtf8() + eol;
    if (found.insertAt < 0) {
        line.prepend("[General]" + eol);
        found.insertAt = bytes_.size();
    }
    if (found.insertAt == bytes_.size() && !bytes_.isEmpty() && !bytes_.endsWith('\n')) {
        line.prepend(eol);
    }
    bytes_.insert(found.insertAt, line);
    return true;
}

} // namespace ombrel
