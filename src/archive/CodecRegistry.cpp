#include "archive/CodecRegistry.h"

#include "archive/DeltaCodec.h"
#include "archive/NoneCodec.h"
#include "archive/ZlibCodec.h"

namespace ombrel {

const CodecRegistry& CodecRegistry::standard() {
    static const ZlibCodec zlib;
    static const NoneCodec none;
    static const DeltaCodec delta8(1, codec_id::delta8, "Delta8", "8-bit delta encoding");
    static const DeltaCodec delta16(2, codec_id::delta16, "Delta16", "16-bit delta encoding");
    static const DeltaCodec delta32(4, codec_id::delta32, "Delta32", "32-bit delta encoding");
    static const CodecRegistry registry({&zlib, &none, &delta8, &delta32, &delta16});
    return registry;
}

const Codec* CodecRegistry::find(CodecTag id) const {
    for (const Codec* codec : codecs_) {
        if (codec->id() == id) {
            return codec;
        }
    }
    return nullptr;
}

void CodecRegistry::forEach(const Visitor& visitor) const {
    for (const Codec* codec : codecs_) {
        visitor(codec->id(), codec->description(), codec->name());
    }
}

} // namespace ombrel
