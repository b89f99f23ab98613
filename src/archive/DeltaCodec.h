#pragma once

#include "archive/Codec.h"

namespace ombrel {

/// A filter storing each little-endian unit of 1, 2 or 4 bytes as its difference from the
/// previous unit, modulo 2^(8*width). Bytes after the last whole unit are kept as they are.
class DeltaCodec final : public Codec {
public:
    /// The filter for units of width bytes (1, 2 or 4), with its id, name and description.
    DeltaCodec(int width, CodecTag id, const char* name, const char* description);

private:
    MallocBuffer doEncode(QByteArrayView input) const override;
    MallocBuffer doDecode(QByteArrayView input, std::int64_t maxOutput) const override;

    int width_;
};

} // namespace ombrel
