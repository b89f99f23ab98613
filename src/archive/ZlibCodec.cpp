#include "archive/ZlibCodec.h"

#include "archive/LittleEndian.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace ombrel {

namespace {

constexpr std::int64_t sizePrefixLength = 4;
constexpr std::int64_t initialOutputCapacity = 64 * 1024;

// Ends the inflate stream on every way out of the decoder.
class InflateStream {
public:
    InflateStream() : ok_(inflateInit(&stream_) == Z_OK) {}
    ~InflateStream() {
        if (ok_) {
            inflateEnd(&stream_);
        }
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool ok() const { return ok_; }
    z_stream& operator*() { return stream_; }

private:
    z_stream stream_{};
    bool ok_;
};

uInt chunkLength(std::int64_t length) {
    return static_cast<uInt>(std::min<std::int64_t>(length, UINT_MAX));
}

} // namespace

MallocBuffer ZlibCodec::doEncode(QByteArrayView input) const {
    if (static_cast<std::uint64_t>(input.size()) > UINT32_MAX) {
        return {}; // the size prefix cannot hold it
    }
    const uLong bound = compressBound(static_cast<uLong>(input.size()));
    MallocBuffer output =
        MallocBuffer::allocate(sizePrefixLength + static_cast<std::int64_t>(bound));
    if (output.isNull()) {
        return {};
    }
    uLongf compressedLength = bound;
    const auto* source = reinterpret_cast<const Bytef*>(input.data());
    if (compress(output.data() + sizePrefixLength, &compressedLength, source,
                 static_cast<uLong>(input.size())) != Z_OK) {
        return {};
    }
    little_endian::writeU32(output.data(), static_cast<std::uint32_t>(input.size()));
    // The length covers the prefix and the whole stream, its check value included.
    if (!output.resize(sizePrefixLength + static_cast<std::int64_t>(compressedLength))) {
        return {};
    }
    return output;
}

MallocBuffer ZlibCodec::doDecode(QByteArrayView input, std::int64_t maxOutput) const {
    if (input.size() < sizePrefixLength) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    const std::int64_t unpacked = little_endian::readU32(bytes);
    if (unpacked > maxOutput) {
        return {};
    }
    InflateStream inflater;
    if (!inflater.ok()) {
        return {};
    }
    z_stream& stream = *inflater;
    // The output grows with what the stream really yields, so a size prefix that promises
    // far more than the data holds costs no more memory than the data itself.
    MallocBuffer output = MallocBuffer::allocate(
        std::min(unpacked, std::max<std::int64_t>(initialOutputCapacity, 4 * input.size())));
    if (output.isNull()) {
        return {};
    }
    const unsigned char* nextInput = bytes + sizePrefixLength;
    std::int64_t inputLeft = input.size() - sizePrefixLength;
    std::int64_t produced = 0;
    for (;;) {
        if (stream.avail_in == 0 && inputLeft > 0) {
            stream.next_in = const_cast<Bytef*>(nextInput);
            stream.avail_in = chunkLength(inputLeft);
            nextInput += stream.avail_in;
            inputLeft -= stream.avail_in;
        }
        if (produced == output.size() && output.size() < unpacked) {
            const std::int64_t grown = std::min(unpacked, 2 * output.size());
            if (!output.resize(grown)) {
                return {};
            }
        }
        const uInt room = chunkLength(output.size() - produced);
        stream.next_out = output.data() + produced;
        stream.avail_out = room;
        const int result = inflate(&stream, Z_NO_FLUSH);
        produced += room - stream.avail_out;
        if (result == Z_STREAM_END) {
            break;
        }
        if (result == Z_OK) {
            continue;
        }
        if (result != Z_BUF_ERROR) {
            return {}; // damaged data, a dictionary we do not have, or no memory
        }
        // No progress was possible. The stream ending before its end marker or check value,
        // and a full output, are accepted; otherwise more input or room comes next round.
        const bool inputEnded = stream.avail_in == 0 && inputLeft == 0;
        if (inputEnded || produced == unpacked) {
            break;
        }
        if (stream.avail_in != 0 && produced != output.size()) {
            return {};
        }
    }
    if (!output.resize(produced)) {
        return {};
    }
    return output;
}

} // namespace ombrel
