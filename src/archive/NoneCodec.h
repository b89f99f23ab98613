#pragma once

#include "archive/Codec.h"

namespace ombrel {

/// Stores bytes as they are: both directions copy.
class NoneCodec final : public Codec {
public:
    NoneCodec() : Codec(codec_id::none, "None", "No compression") {}

private:
    MallocBuffer doEncode(QByteArrayView input) const override;
    MallocBuffer doDecode(QByteArrayView input, std::int64_t maxOutput) const override;
};

} // namespace ombrel
