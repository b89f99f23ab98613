#pragma once

#include <QByteArray>
#include <QStringList>
#include <cstdint>

namespace ombrel::bench {

/// Realistic log text of about byteCount bytes: lines of 80 to 200 bytes, the same for a seed.
QByteArray generateLog(std::int64_t byteCount, std::uint32_t seed = 20261206);

/// Ten words of the kind users watch for, each found a few times per megabyte.
QStringList sparseKeywords();

/// A keyword list that hits about 10 000 times per megabyte of generated log.
QStringList denseKeywords();

} // namespace ombrel::bench
