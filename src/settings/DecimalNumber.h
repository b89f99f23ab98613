#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace ombrel {

/// Reads a leading signed decimal number: blanks, an optional sign, then digits; the first
/// other character ends it. No digits gives nothing; values beyond 32 bits saturate.
std::optional<std::int32_t> parseLeadingDecimal(QStringView text);

/// Converts like C's atoi: the leading decimal number, or 0 when there is none.
std::int32_t decimalOrZero(QStringView text);

} // namespace ombrel
