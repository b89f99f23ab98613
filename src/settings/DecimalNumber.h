#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace ombrel {

/// The white space that C's conversions (atoi, scanf's "%d" and "%s") skip in the "C" locale.
bool isCBlank(QChar c);

/// Reads a leading signed decimal number: blanks, an optional sign, then digits; the first
/// other character ends it. No digits gives nothing; values beyond 32 bits saturate. When
/// consumed is given and a number was read, it receives the characters the number took.
std::optional<std::int32_t> parseLeadingDecimal(QStringView text, qsizetype* consumed = nullptr);

/// Converts like C's atoi: the leading decimal number, or 0 when there is none.
std::int32_t decimalOrZero(QStringView text);

} // namespace ombrel
