#include "display/AddressLinks.h"

#include <algorithm>

namespace ombrel {

namespace {
bool endsWord(QChar c) {
    return c.isSpace() || QStringView(u"\"'<>()[]{}`").contains(c);
}

bool isTrailingPunctuation(QChar c) {
    return QStringView(u".,;:!?").contains(c);
}

// No address is longer; a longer run without blanks is not scanned to its ends.
constexpr qsizetype longestAddress = 4096;
// Characters around a position that hold every address through it, and one more each side.
constexpr std::int64_t reach = longestAddress + 2;

constexpr QStringView prefixes[] = {u"http://", u"https://", u"ftp://", u"mailto:", u"www."};
} // namespace

std::optional<AddressRange> AddressLinks::inText(const LogText& text, std::int64_t position) {
    const std::int64_t from = std::max<std::int64_t>(0, position - reach);
    const std::optional<AddressRange> link = at(text.mid(from, 2 * reach), position - from);
    return link ? std::optional<AddressRange>({from + link->start, from + link->end})
                : std::nullopt;
}

std::optional<AddressRange> AddressLinks::at(QStringView text, std::int64_t position) {
    if (position < 0 || position >= text.size() || endsWord(text[position])) {
        return std::nullopt;
    }
    qsizetype start = position;
    while (start > 0 && !endsWord(text[start - 1])) {
        if (position - --start > longestAddress) {
            return std::nullopt;
        }
    }
    qsizetype end = position + 1;
    while (end < text.size() && !endsWord(text[end])) {
        if (++end - start > longestAddress) {
            return std::nullopt;
        }
    }
    const QStringView word = text.sliced(start, end - start);
    for (const QStringView prefix : prefixes) {
        if (word.startsWith(prefix, Qt::CaseInsensitive) && word.size() > prefix.size()) {
            while (end > start + prefix.size() && isTrailingPunctuation(text[end - 1])) {
                --end;
            }
            if (end == start + prefix.size() || position >= end) {
                return std::nullopt;
            }
            return AddressRange{start, end};
        }
    }
    return std::nullopt;
}

std::vector<AddressRange> AddressLinks::all(QStringView text) {
    std::vector<AddressRange> found;
    qsizetype start = 0;
    while (start < text.size()) {
        if (endsWord(text[start])) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < text.size() && !endsWord(text[end])) {
            ++end;
        }
        if (const auto link = at(text.sliced(start, end - start), 0)) {
            found.push_back({start + link->start, start + link->end});
        }
        start = end;
    }
    return found;
}

QString AddressLinks::addressOf(const QString& linkText) {
    return linkText.startsWith(u"www.", Qt::CaseInsensitive) ? QStringLiteral("http://") + linkText
                                                             : linkText;
}

} // namespace ombrel
