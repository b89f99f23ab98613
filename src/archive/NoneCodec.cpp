#include "archive/NoneCodec.h"

namespace ombrel {

MallocBuffer NoneCodec::doEncode(QByteArrayView input) const {
    return MallocBuffer::copyOf(input);
}

MallocBuffer NoneCodec::doDecode(QByteArrayView input, std::int64_t maxOutput) const {
    if (input.size() > maxOutput) {
        return {};
    }
    return MallocBuffer::copyOf(input);
}

} // namespace ombrel
