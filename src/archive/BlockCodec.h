#pragma once

#include "archive/Codec.h"
#include "archive/CodecRegistry.h"
#include "archive/CodecTag.h"
#include "archive/MallocBuffer.h"

#include <QByteArrayView>

namespace ombrel {

/// Undoes the stages that tag names, found in codecs: the outer stage (if any), then the
/// primary codec, then the filter (if any). Null when a stage is unknown or fails, or when
/// a stage's result would exceed maxOutput bytes.
MallocBuffer decodeBlock(QByteArrayView stored, CodecTag tag, const CodecRegistry& codecs,
                         std::int64_t maxOutput = Codec::unlimited);

/// Applies the stages that tag names in the opposite order (filter, primary codec, outer
/// stage), giving bytes that decodeBlock turns back into plain. Null on the same failures.
MallocBuffer encodeBlock(QByteArrayView plain, CodecTag tag, const CodecRegistry& codecs);

} // namespace ombrel
