#pragma once

#include <cstdint>

namespace ombrel::little_endian {

/// The unsigned 32-bit value stored little-endian at bytes.
inline std::uint32_t readU32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

/// The unsigned 16-bit value stored little-endian at bytes.
inline std::uint16_t readU16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

/// Stores value little-endian in the 4 bytes at bytes.
inline void writeU32(unsigned char* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

/// Stores value little-endian in the 2 bytes at bytes.
inline void writeU16(unsigned char* bytes, std::uint16_t value) {
    bytes[0] = static_cast<unsigned char>(value);
    bytes[1] = static_cast<unsigned char>(value >> 8);
}

} // namespace ombrel::little_endian
