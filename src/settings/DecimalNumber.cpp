#include "settings/DecimalNumber.h"

#include <limits>

namespace ombrel {

bool isCBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

std::optional<std::int32_t> parseLeadingDecimal(QStringView text, qsizetype* consumed) {
    qsizetype i = 0;
    while (i < text.size() && isCBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    // Accumulate as a negative magnitude so INT32_MIN needs no special case.
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        const int digit = text[i].unicode() - u'0';
        if (value > lowest) {
            value = value * 10 - digit;
            if (value < lowest) {
                value = lowest - 1; // saturated; stays below the range
            }
        }
        ++i;
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    if (consumed) {
        *consumed = i;
    }
    if (negative) {
        return static_cast<std::int32_t>(value < lowest ? lowest : value);
    }
    const std::int64_t positive = -value;
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(positive > highest ? highest : positive);
}

std::int32_t decimalOrZero(QStringView text) {
    return parseLeadingDecimal(text).value_or(0);
}

} // namespace ombrel
