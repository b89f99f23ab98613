// Decodes the input with one codec (OMBREL_FUZZ_CODEC_ID) and checks both directions.
#include "archive/CodecRegistry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ombrel::Codec* codec = ombrel::CodecRegistry::standard().find(OMBREL_FUZZ_CODEC_ID);
    if (!codec) {
        std::abort();
    }
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    const ombrel::MallocBuffer decoded = codec->decode(input);
    if (!decoded.isNull()) {
        unsigned sum = 0; // every byte handed out must be readable
        for (std::int64_t i = 0; i < decoded.size(); ++i) {
            sum += decoded.data()[i];
        }
        static_cast<void>(sum);
        // The copy and the filters are bijections: encoding the decoded bytes gives the input.
        if (codec->id() != ombrel::codec_id::zlib) {
            const ombrel::MallocBuffer again = codec->encode(decoded.view());
            if (again.isNull() || again.view() != input) {
                std::abort();
            }
        }
    }
    // Every codec gives back what it encoded.
    const ombrel::MallocBuffer stored = codec->encode(input);
    if (stored.isNull()) {
        std::abort();
    }
    const ombrel::MallocBuffer back = codec->decode(stored.view());
    if (back.isNull() || back.view() != input) {
        std::abort();
    }
    return 0;
}
