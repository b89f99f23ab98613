#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>

namespace ombrel {

/// The texts of a desktop notification. Log text is plain text: it reaches the server without
/// control characters or anything that is not a character, cut short, and in the body (which
/// servers read as a subset of HTML) escaped, so no log line is ever taken as markup.
class NoticeText {
public:
    static constexpr qsizetype lineLimit = 200; ///< characters of one line shown
    static constexpr int linesShown = 3;        ///< lines a body names at most

    /// text with each control character, lone surrogate half and non-character replaced by
    /// U+FFFD (a tab by a blank), cut after limit characters with "…" when it is longer.
    static QString plain(QStringView text, qsizetype limit = lineLimit);
    /// text with &, < and > written as entities.
    static QString escaped(QStringView text);
    /// "Ombrel: " and the source's name, as plain text.
    static QString summary(QStringView sourceName);
    /// The body: each of lines (the first linesShown of them) plain and escaped on a line of its
    /// own, then "and N more marked lines" when moreLines, then "N more changes" when
    /// moreChanges.
    static QString body(const QStringList& lines, std::int64_t moreLines, std::int64_t moreChanges);
};

} // namespace ombrel
