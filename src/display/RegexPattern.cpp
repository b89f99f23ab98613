#include "display/RegexPattern.h"

#include "display/CaseFold.h"
#include "display/DisplayLines.h"

#include <QChar>
#include <algorithm>

#define PCRE2_CODE_UNIT_WIDTH 0
#include <pcre2.h>

namespace ombrel {

namespace {

// The display's own idea of a word character (double clicks and word moves use it too).
const QString wordBefore = QStringLiteral("(?<![\\p{L}\\p{N}\\p{M}_])(?:");
const QString wordAfter = QStringLiteral(")(?![\\p{L}\\p{N}\\p{M}_])");

QString escaped(const QString& text) {
    QString result;
    result.reserve(text.size() * 2);
    for (const QChar c : text) {
        // A backslash makes any ASCII character other than a letter or digit stand for itself.
        if (c.unicode() < 0x80 && !c.isLetterOrNumber()) {
            result.append(u'\\');
        }
        result.append(c);
    }
    return result;
}

bool isLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() != 0 && c.unicode() < 0x100; });
}

// A unit every match holds, and the units it may stand for when case is folded.
std::vector<char16_t> unitsEveryMatchHolds(pcre2_code_16* code) {
    std::uint32_t type = 0;
    std::uint32_t unit = 0;
    pcre2_pattern_info_16(code, PCRE2_INFO_FIRSTCODETYPE, &type);
    if (type == 1) {
        pcre2_pattern_info_16(code, PCRE2_INFO_FIRSTCODEUNIT, &unit);
    } else {
        pcre2_pattern_info_16(code, PCRE2_INFO_LASTCODETYPE, &type);
        if (type != 1) {
            return {};
        }
        pcre2_pattern_info_16(code, PCRE2_INFO_LASTCODEUNIT, &unit);
    }
    if (unit > 0xFFFF || QChar::isSurrogate(static_cast<char32_t>(unit))) {
        return {}; // the other case of a pair may differ in both units
    }
    // Always the whole class: an inline (?i) can fold a unit the options did not.
    const std::array<char16_t, 0x10000>& folds = basicPlaneFolds();
    const char16_t folded = folds[unit];
    std::vector<char16_t> units;
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
        if (folds[c] == folded || c == unit) {
            units.push_back(static_cast<char16_t>(c));
        }
    }
    return units;
}

} // namespace

std::shared_ptr<const RegexPattern> RegexPattern::compile(const QString& pattern,
                                                          RegexOptions options, RegexError* error) {
    QString source = options.literal ? escaped(pattern) : pattern;
    qsizetype prefix = 0;
    if (options.wholeWords) {
        source = wordBefore + source + wordAfter;
        prefix = wordBefore.size();
    }
    const std::uint32_t flags = (options.matchCase ? 0U : PCRE2_CASELESS) | PCRE2_UCP;
    int code = 0;
    PCRE2_SIZE offset = 0;
    std::shared_ptr<RegexPattern> result(new RegexPattern);
    result->wide_ = pcre2_compile_16(
        reinterpret_cast<PCRE2_SPTR16>(source.utf16()), static_cast<PCRE2_SIZE>(source.size()),
        flags | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &code, &offset, nullptr);
    if (result->wide_ == nullptr) {
        if (error != nullptr) {
            PCRE2_UCHAR16 message[256] = {};
            pcre2_get_error_message_16(code, message, 256);
            error->message = QString::fromUtf16(reinterpret_cast<const char16_t*>(message));
            error->offset =
                std::clamp<qsizetype>(static_cast<qsizetype>(offset) - prefix, 0, pattern.size());
        }
        return nullptr;
    }
    // Without the JIT (a pattern too large for it) the interpreter does the same, slower.
    pcre2_jit_compile_16(result->wide_, PCRE2_JIT_COMPLETE);
    if (isLatin1(source)) {
        const QByteArray latin1 = source.toLatin1();
        // Narrow text is Latin-1, one byte a character: no UTF there.
        result->narrow_ =
            pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(latin1.constData()),
                            static_cast<PCRE2_SIZE>(latin1.size()), flags, &code, &offset, nullptr);
        if (result->narrow_ != nullptr) {
            pcre2_jit_compile_8(result->narrow_, PCRE2_JIT_COMPLETE);
        }
    }
    result->lineSafe_ =
        options.literal && std::none_of(pattern.begin(), pattern.end(),
                                        [](QChar c) { return lineEnds::endsLine(c.unicode()); });
    result->required_ = unitsEveryMatchHolds(result->wide_);
    return result;
}

RegexPattern::~RegexPattern() {
    pcre2_code_free_8(narrow_);
    pcre2_code_free_16(wide_);
}

} // namespace ombrel
