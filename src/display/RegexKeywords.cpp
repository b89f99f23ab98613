#include "display/RegexKeywords.h"

#include "display/RegexScanner.h"

#include <QLocale>

namespace ombrel {

namespace {

QString shortened(const QString& keyword) {
    constexpr qsizetype longest = 40;
    return keyword.size() <= longest ? keyword : keyword.left(longest - 1) + QChar(0x2026);
}

QString named(qsizetype index, const QString& keyword) {
    return QStringLiteral("Keyword %1 \"%2\"").arg(index + 1).arg(shortened(keyword));
}

} // namespace

QString RegexKeywords::problemOf(const QString& keyword) {
    RegexError error;
    if (RegexPattern::compile(keyword, {}, &error)) {
        return {};
    }
    return QStringLiteral("%1 at character %2").arg(error.message).arg(error.offset + 1);
}

std::optional<RegexKeywordMatches> RegexKeywords::findAll(const LogText& text,
                                                          const QStringList& keywords,
                                                          const StaleCheck& isStale) {
    RegexKeywordMatches result;
    result.occurrences.resize(static_cast<std::size_t>(keywords.size()));
    for (qsizetype k = 0; k < keywords.size(); ++k) {
        KeywordOccurrences& found = result.occurrences[static_cast<std::size_t>(k)];
        RegexError error;
        const auto pattern = RegexPattern::compile(keywords[k], {}, &error);
        if (!pattern) {
            result.problems.append(
                QStringLiteral("%1 is not a valid regular expression (%2 at character %3) and "
                               "marks nothing")
                    .arg(named(k, keywords[k]), error.message)
                    .arg(error.offset + 1));
            continue;
        }
        bool tooMany = false;
        RegexScanner scanner(pattern);
        const ScanOutcome outcome = scanner.scan(
            text, 0, text.size(),
            [&](std::int64_t start, std::int64_t end) {
                if (found.starts.size() >= maxMatches) {
                    tooMany = true;
                    return false;
                }
                found.starts.push_back(start);
                found.lengths.push_back(end - start);
                return true;
            },
            isStale, maxLimitedLines);
        if (outcome.stopped && !tooMany) {
            return std::nullopt;
        }
        if (tooMany) {
            result.problems.append(
                QStringLiteral("%1 matches more than %2 times: the rest is "
                               "not marked")
                    .arg(named(k, keywords[k]), QLocale::c().toString(qulonglong{maxMatches})));
        } else if (outcome.limitedLines >= maxLimitedLines) {
            result.problems.append(
                QStringLiteral("%1 takes too long to match (%2 lines over the limit): the rest "
                               "is not marked")
                    .arg(named(k, keywords[k]))
                    .arg(outcome.limitedLines));
        } else if (outcome.limitedLines > 0) {
            result.problems.append(QStringLiteral("%1 takes too long to match on %2 lines, "
                                                  "left unmarked")
                                       .arg(named(k, keywords[k]))
                                       .arg(outcome.limitedLines));
        }
    }
    return result;
}

} // namespace ombrel
