#pragma once

#include <compare>
#include <cstdint>

namespace ombrel {

/// A modification time at the file system's full resolution.
struct FileTime {
    std::int64_t seconds = 0;     ///< whole seconds since 1970-01-01 UTC (negative before)
    std::int32_t nanoseconds = 0; ///< 0..999'999'999 within that second

    friend auto operator<=>(const FileTime&, const FileTime&) = default;
};

/// What a change check compares: size and modification time.
struct FileStatus {
    std::int64_t size = 0; ///< bytes
    FileTime modified;     ///< last write

    friend bool operator==(const FileStatus&, const FileStatus&) = default;
};

} // namespace ombrel
