#include "archive/NameHash.h"

namespace ombrel {

std::int32_t nameHash(QByteArrayView name) {
    // Unsigned arithmetic wraps by definition; the sign fill of the shift is added by hand.
    std::uint32_t hash = 0;
    for (const char byte : name) {
        if (byte == '\0') {
            break;
        }
        const std::uint32_t signFill = (hash & 0x80000000u) ? 0xFFE00000u : 0u;
        const std::uint32_t mixed = (hash << 21) + ((hash >> 11) | signFill);
        hash = static_cast<unsigned char>(byte) ^ mixed;
    }
    return static_cast<std::int32_t>(hash);
}

} // namespace ombrel
