#pragma once

#include "tail/FileStatus.h"

#include <QString>
#include <cstdint>

namespace ombrel {

/// The C ctime text of a time in local time, English names: 24 characters and a newline,
/// e.g. "Wed Jun 30 21:49:08 1993\n".
QString ctimeText(std::int64_t secondsSinceEpoch);

/// The status-bar text after a file update, "Update: %s   Filesize: %d   Lines: %d", from the
/// status of the last successful read and the display's line count.
QString tailStatusLine(const FileStatus& lastStat, std::int64_t lines);

} // namespace ombrel
