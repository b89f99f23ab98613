#pragma once

#include "archive/Codec.h"

#include <functional>
#include <vector>

namespace ombrel {

/// An ordered list of codecs, looked up by id. The registry does not own its codecs.
class CodecRegistry {
public:
    /// Receives a codec's id, description and name.
    using Visitor = std::function<void(CodecTag id, const char* description, const char* name)>;

    /// A registry of the given codecs, searched and visited in this order.
    explicit CodecRegistry(std::vector<const Codec*> codecs) : codecs_(std::move(codecs)) {}

    /// The built-in codecs in the order ZLIB, None, Delta8, Delta32, Delta16. Immutable and
    /// valid for the whole process.
    static const CodecRegistry& standard();

    /// The first codec whose id equals id exactly, or nullptr.
    const Codec* find(CodecTag id) const;
    /// Calls visitor once for each codec, in order.
    void forEach(const Visitor& visitor) const;

private:
    std::vector<const Codec*> codecs_;
};

} // namespace ombrel
