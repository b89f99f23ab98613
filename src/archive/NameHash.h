#pragma once

#include <QByteArrayView>
#include <cstdint>

namespace ombrel {

/// The archive's 32-bit name hash over the bytes of name up to its first NUL:
/// h := c XOR ((h << 21) + (h >> 11)) for each byte c, with an arithmetic right shift and
/// wrap-around modulo 2^32. The empty name hashes to 0.
std::int32_t nameHash(QByteArrayView name);

} // namespace ombrel
