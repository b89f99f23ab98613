#include "notify/NoticeText.h"

namespace ombrel {

namespace {

bool isNonCharacter(char32_t c) {
    return (c & 0xFFFE) == 0xFFFE || (c >= 0xFDD0 && c <= 0xFDEF);
}

QString counted(std::int64_t count, const char* one, const char* many) {
    return QString::number(count) + QLatin1String(count == 1 ? one : many);
}

} // namespace

QString NoticeText::plain(QStringView text, qsizetype limit) {
    QString out;
    out.reserve(std::min(text.size(), limit + 1));
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (characters == limit) {
            out += u'…';
            break;
        }
        ++characters;
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
            if (isNonCharacter(code)) {
                out += QChar::ReplacementCharacter;
            } else {
                out += c;
                out += text[i + 1];
            }
            ++i;
        } else if (c == u'\t') {
            out += u' ';
        } else if (c.isSurrogate() || c.category() == QChar::Other_Control ||
                   c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
                   isNonCharacter(c.unicode())) {
            // D-Bus takes valid UTF-8 only, and a server's markup reader rejects controls.
            out += QChar::ReplacementCharacter;
        } else {
            out += c;
        }
    }
    return out;
}

QString NoticeText::escaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString NoticeText::summary(QStringView sourceName) {
    return QStringLiteral("Ombrel: ") + plain(sourceName);
}

QString NoticeText::body(const QStringList& lines, std::int64_t moreLines,
                         std::int64_t moreChanges) {
    QStringList parts;
    for (qsizetype i = 0; i < lines.size() && i < linesShown; ++i) {
        parts << escaped(plain(lines[i]));
    }
    const std::int64_t unnamed = moreLines + std::max<std::int64_t>(0, lines.size() - linesShown);
    if (unnamed > 0) {
        parts << QStringLiteral("and ") +
                     counted(unnamed, " more marked line", " more marked lines");
    }
    if (moreChanges > 0) {
        parts << counted(moreChanges, " more change", " more changes");
    }
    return parts.join(u'\n');
}

} // namespace ombrel
