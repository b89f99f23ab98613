#pragma once

#include "archive/Codec.h"

namespace ombrel {

/// Deflate compression through zlib. The stored form is the unpacked size as a little-endian
/// u32 followed by a zlib stream. Decoding accepts a stream that ends early, for example one
/// without its trailing check value, and keeps the bytes it produced up to then.
class ZlibCodec final : public Codec {
public:
    ZlibCodec()
        : Codec(codec_id::zlib, "ZLIB",
                "ZLIB data compression library (deflate, with a 4-byte size prefix)") {}

private:
    MallocBuffer doEncode(QByteArrayView input) const override;
    MallocBuffer doDecode(QByteArrayView input, std::int64_t maxOutput) const override;
};

} // namespace ombrel
