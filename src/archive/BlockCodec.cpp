#include "archive/BlockCodec.h"

#include <array>
#include <optional>

namespace ombrel {

namespace {

// A stage that the tag leaves empty is absent; one it names but the registry lacks is
// a failure.
struct Stage {
    bool present = false;
    const Codec* codec = nullptr;
};

Stage optionalStage(CodecTag tag, CodecTag mask, const CodecRegistry& codecs) {
    const CodecTag id = tag & mask;
    if (id == 0) {
        return {};
    }
    return {true, codecs.find(id)};
}

Stage primaryStage(CodecTag tag, const CodecRegistry& codecs) {
    const Codec* codec = codecs.find(tag & codec_tag::primaryMask);
    if (!codec) {
        codec = codecs.find(tag & codec_tag::primaryFallbackMask);
    }
    return {true, codec};
}

// The stages in decoding order, or nothing when one of them is unknown.
std::optional<std::array<Stage, 3>> stagesOf(CodecTag tag, const CodecRegistry& codecs) {
    const std::array<Stage, 3> stages = {optionalStage(tag, codec_tag::outerMask, codecs),
                                         primaryStage(tag, codecs),
                                         optionalStage(tag, codec_tag::filterMask, codecs)};
    for (const Stage& stage : stages) {
        if (stage.present && !stage.codec) {
            return std::nullopt;
        }
    }
    return stages;
}

} // namespace

MallocBuffer decodeBlock(QByteArrayView stored, CodecTag tag, const CodecRegistry& codecs,
                         std::int64_t maxOutput) {
    const auto stages = stagesOf(tag, codecs);
    if (!stages) {
        return {};
    }
    MallocBuffer current;
    bool started = false;
    for (const Stage& stage : *stages) {
        if (!stage.present) {
            continue;
        }
        // Each intermediate result is released as soon as the next stage has its own.
        current = stage.codec->decode(started ? current.view() : stored, maxOutput);
        started = true;
        if (current.isNull()) {
            return {};
        }
    }
    return current;
}

MallocBuffer encodeBlock(QByteArrayView plain, CodecTag tag, const CodecRegistry& codecs) {
    const auto stages = stagesOf(tag, codecs);
    if (!stages) {
        return {};
    }
    MallocBuffer current;
    bool started = false;
    for (auto stage = stages->rbegin(); stage != stages->rend(); ++stage) {
        if (!stage->present) {
            continue;
        }
        current = stage->codec->encode(started ? current.view() : plain);
        started = true;
        if (current.isNull()) {
            return {};
        }
    }
    return current;
}

} // namespace ombrel
