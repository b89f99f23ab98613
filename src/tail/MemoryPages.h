#pragma once

#include <cstdint>

namespace ombrel {

/// Asks the system to back a large buffer with huge pages where it grants them on request, so
/// that filling it costs a page fault per 2 MiB instead of per 4 KiB. Only advice: nothing
/// changes where it is not granted, and small buffers are left alone.
void preferHugePages(void* buffer, std::int64_t size);

/// Gives the memory of the whole pages within a buffer's [buffer, buffer + size) back to the
/// system while the buffer stays allocated: for a large buffer that is being used up and will
/// not be read there again. Their bytes are undefined afterwards (zero where it is done).
void releasePages(void* buffer, std::int64_t size);

} // namespace ombrel
