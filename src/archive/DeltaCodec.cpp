#include "archive/DeltaCodec.h"

namespace ombrel {

namespace {

std::uint32_t readUnit(const unsigned char* at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

void writeUnit(unsigned char* at, int width, std::uint32_t value) {
    for (int i = 0; i < width; ++i) {
        at[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

enum class Direction { encode, decode };

// Unit 0 and the bytes after the last whole unit are copied as they are; every other unit
// becomes a difference (encode) or a running sum (decode), wrapping at the unit width.
MallocBuffer transform(QByteArrayView input, int width, Direction direction) {
    MallocBuffer output = MallocBuffer::copyOf(input);
    if (output.isNull()) {
        return output;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(input.data());
    unsigned char* out = output.data();
    const std::int64_t units = input.size() / width;
    const std::uint32_t mask = width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1u;
    for (std::int64_t i = 1; i < units; ++i) {
        const std::int64_t at = i * width;
        const std::uint32_t current = readUnit(in + at, width);
        const std::uint32_t value = direction == Direction::encode
                                        ? current - readUnit(in + at - width, width)
                                        : current + readUnit(out + at - width, width);
        writeUnit(out + at, width, value & mask);
    }
    return output;
}

} // namespace

DeltaCodec::DeltaCodec(int width, CodecTag id, const char* name, const char* description)
    : Codec(id, name, description), width_(width) {}

MallocBuffer DeltaCodec::doEncode(QByteArrayView input) const {
    return transform(input, width_, Direction::encode);
}

MallocBuffer DeltaCodec::doDecode(QByteArrayView input, std::int64_t maxOutput) const {
    if (input.size() > maxOutput) {
        return {};
    }
    return transform(input, width_, Direction::decode);
}

} // namespace ombrel
