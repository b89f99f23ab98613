#include "app/CompactPath.h"

#include <QList>
#include <algorithm>

namespace ombrel {

namespace {

/// The text seen as characters: where each code point begins, in UTF-16 units.
class Characters {
public:
    explicit Characters(QStringView text) : text_(text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            starts_.append(i);
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
            }
        }
    }

    qsizetype count() const { return starts_.size(); }
    QChar leadingUnit(qsizetype index) const { return text_[starts_[index]]; }

    /// Characters [from, from + length), clipped to the text; nothing for length <= 0.
    QStringView mid(qsizetype from, qsizetype length) const {
        if (length <= 0 || from >= count()) {
            return {};
        }
        const qsizetype to = std::min(from + length, count());
        const qsizetype begin = starts_[from];
        const qsizetype end = to < count() ? starts_[to] : text_.size();
        return text_.sliced(begin, end - begin);
    }

private:
    QStringView text_;
    QList<qsizetype> starts_;
};

bool separatesElements(QChar c, PathStyle style) {
    if (style == PathStyle::Posix) {
        return c == u'/';
    }
    return c == u'\\' || c == u'/' || c == u':';
}

bool isSlash(QChar c, PathStyle style) {
    return c == u'/' || (style == PathStyle::Windows && c == u'\\');
}

/// limit - 1 characters, all "." except the fourth, which is the separator.
QString dotsAroundSeparator(qsizetype limit, QChar separator) {
    QString result;
    for (qsizetype i = 0; i + 1 < limit; ++i) {
        result.append(i == 3 ? separator : QChar(u'.'));
    }
    return result;
}

} // namespace

QString compactPath(QStringView text, int limitWithTerminator, PathStyle style) {
    const qsizetype limit = limitWithTerminator; // 64 bits: no arithmetic below can overflow
    const Characters chars(text);
    const qsizetype n = chars.count();
    if (n <= limit - 2) {
        return text.toString();
    }

    // The last element begins after the last separator that something other than a slash
    // follows; the separator shown is the text's last slash.
    qsizetype elementStart = 0;
    QChar separator = style == PathStyle::Posix ? QChar(u'/') : QChar(u'\\');
    bool separatorSeen = false;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const QChar c = chars.leadingUnit(i);
        if (!separatorSeen && isSlash(c, style)) {
            separator = c;
            separatorSeen = true;
        }
        if (elementStart == 0 && separatesElements(c, style) && i + 1 < n &&
            !isSlash(chars.leadingUnit(i + 1), style)) {
            elementStart = i + 1;
        }
    }
    const qsizetype elementLength = n - elementStart;
    const QString dots = QStringLiteral("...");

    if (elementStart == 0 && limit > 3) {
        return chars.mid(0, limit - 4).toString() + dots;
    }
    const bool elementFits = elementLength + 4 < limit;
    // With a limit of 7 a long element leaves no room for any of it: "...", S and "..." alone
    // would take the terminator's place, so the short form is used.
    if (limit < 7 || (limit == 7 && !elementFits)) {
        return dotsAroundSeparator(limit, separator);
    }
    if (elementFits) {
        return chars.mid(0, limit - elementLength - 5).toString() + dots + separator +
               chars.mid(elementStart, elementLength).toString();
    }
    return dots + separator + chars.mid(elementStart, limit - 8).toString() + dots;
}

} // namespace ombrel
