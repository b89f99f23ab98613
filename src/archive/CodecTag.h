#pragma once

#include <cstdint>

namespace ombrel {

/// Names the codec stages of a stored block: an outer stage in bits 24-31 (0: none), the
/// primary codec in bits 0-15 and a filter in bits 16-23 (0: none), each by its codec id.
using CodecTag = std::uint32_t;

/// Codec ids of the standard registry, usable as tags of their own.
namespace codec_id {
inline constexpr CodecTag none = 0;
inline constexpr CodecTag zlib = 1;
inline constexpr CodecTag delta8 = 0x10000;
inline constexpr CodecTag delta16 = 0x20000;
inline constexpr CodecTag delta32 = 0x30000;
} // namespace codec_id

/// The parts of a tag that each stage is looked up by.
namespace codec_tag {
inline constexpr CodecTag outerMask = 0xFF000000;
inline constexpr CodecTag filterMask = 0x00FF0000;
inline constexpr CodecTag primaryMask = 0x0000FFFF;
/// The primary codec's fallback when no codec has the full 16-bit id.
inline constexpr CodecTag primaryFallbackMask = 0x000000FF;
} // namespace codec_tag

} // namespace ombrel
