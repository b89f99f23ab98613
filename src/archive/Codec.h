#pragma once

#include "archive/CodecTag.h"
#include "archive/MallocBuffer.h"

#include <QByteArrayView>
#include <cstdint>
#include <limits>

namespace ombrel {

/// One reversible transformation between plain bytes and a block's stored form. Codecs hold
/// no state, so one instance serves every caller and thread. Both directions leave the input
/// alone and return a new buffer, or a null one on failure (out of memory, damaged data).
class Codec {
public:
    /// No limit on a decoded length beyond what memory allows.
    static constexpr std::int64_t unlimited = std::numeric_limits<std::int64_t>::max();

    Codec(CodecTag id, const char* name, const char* description)
        : id_(id), name_(name), description_(description) {}
    virtual ~Codec() = default;
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    /// The id a CodecTag names this codec by.
    CodecTag id() const { return id_; }
    /// Short name such as "ZLIB".
    const char* name() const { return name_; }
    /// One-line description.
    const char* description() const { return description_; }

    /// The stored form of input.
    MallocBuffer encode(QByteArrayView input) const { return doEncode(input); }
    /// The plain bytes of input; null as well when they would exceed maxOutput bytes.
    MallocBuffer decode(QByteArrayView input, std::int64_t maxOutput = unlimited) const {
        return doDecode(input, maxOutput);
    }

private:
    virtual MallocBuffer doEncode(QByteArrayView input) const = 0;
    virtual MallocBuffer doDecode(QByteArrayView input, std::int64_t maxOutput) const = 0;

    CodecTag id_;
    const char* name_;
    const char* description_;
};

} // namespace ombrel
