#pragma once

#include "tail/TailSnapshot.h"

#include <QString>
#include <cstdint>

namespace ombrel {

/// How FileTailReader picks its window of bytes.
struct TailReadOptions {
    bool head = false; ///< take the first byteCount bytes instead of the last
};

/// Reads a window of a file's bytes in one open-read-close, so no handle outlives the call and
/// a writer may move, delete or rotate the file at any time.
class FileTailReader {
public:
    /// The last (or, with head, the first) byteCount bytes of the regular file at path; a
    /// negative count reads nothing. Anything but a regular file gives a snapshot that is not
    /// opened. Allocates no more than the file holds.
    static TailSnapshot read(const QString& path, std::int64_t byteCount,
                             const TailReadOptions& options = {});
};

} // namespace ombrel
