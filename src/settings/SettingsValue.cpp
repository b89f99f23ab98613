#include "settings/SettingsValue.h"

#include <algorithm>

namespace ombrel {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// True when the only unescaped double quotes are the first and the last character.
bool isWhollyQuoted(QStringView text) {
    if (text.size() < 2 || text.front() != u'"' || text.back() != u'"') {
        return false;
    }
    qsizetype i = 1;
    while (i < text.size() - 1) {
        if (text[i] == u'"') {
            return false;
        }
        i += text[i] == u'\\' ? 2 : 1;
    }
    return i == text.size() - 1; // past it when the closing quote was escaped
}

// Reads digits of the given base from text at i, at most maxDigits; -1 when there are none.
char32_t readDigits(QStringView text, qsizetype& i, int base, int maxDigits) {
    char32_t code = 0;
    int digits = 0;
    while (digits < maxDigits && i < text.size()) {
        const int d = hexValue(text[i]);
        if (d < 0 || d >= base) {
            break;
        }
        code = std::min<char32_t>(code * base + d, 0x10ffff);
        ++i;
        ++digits;
    }
    return digits == 0 ? char32_t(-1) : code;
}

QString unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar escaped = text[++i];
        switch (escaped.unicode()) {
        case u'a':
            out += u'\a';
            break;
        case u'b':
            out += u'\b';
            break;
        case u'f':
            out += u'\f';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u't':
            out += u'\t';
            break;
        case u'v':
            out += u'\v';
            break;
        case u'\\':
        case u'"':
        case u'\'':
        case u'?':
            out += escaped;
            break;
        default: {
            // Qt's writer puts hex digits after \x until the next escape; octal is C's \ooo.
            const bool hex = escaped == u'x';
            qsizetype end = hex ? i + 1 : i;
            const char32_t code = readDigits(text, end, hex ? 16 : 8, hex ? 8 : 3);
            if (code == char32_t(-1)) {
                out += u'\\'; // not an escape: keep it as written
                out += escaped;
            } else {
                out += QString::fromUcs4(&code, 1);
                i = end - 1;
            }
        }
        }
    }
    return out;
}

} // namespace

QString decodeSettingsValue(QStringView written) {
    qsizetype begin = 0;
    qsizetype end = written.size();
    while (begin < end && isBlank(written[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(written[end - 1])) {
        --end;
    }
    const QStringView value = written.sliced(begin, end - begin);
    return isWhollyQuoted(value) ? unescape(value.sliced(1, value.size() - 2)) : value.toString();
}

QString encodeSettingsValue(QStringView value) {
    if (std::none_of(value.begin(), value.end(), isControl) &&
        decodeSettingsValue(value) == value) {
        return value.toString();
    }
    QString out = QStringLiteral("\"");
    bool afterHex = false; // a hex digit right after \xHEX would join the escape
    for (const QChar c : value) {
        if (isControl(c) || (afterHex && hexValue(c) >= 0)) {
            switch (c.unicode()) {
            case u'\n':
                out += u"\\n";
                break;
            case u'\r':
                out += u"\\r";
                break;
            case u'\t':
                out += u"\\t";
                break;
            default:
                out += QStringLiteral("\\x") + QString::number(c.unicode(), 16);
                afterHex = true;
                continue;
            }
        } else if (c == u'\\' || c == u'"') {
            out += u'\\';
            out += c;
        } else {
            out += c;
        }
        afterHex = false;
    }
    return out + u'"';
}

} // namespace ombrel
