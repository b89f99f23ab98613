#pragma once

#include <cstdint>

namespace ombrel {

/// Asks the system to back a large buffer with huge pages where it grants them on request, so
/// that filling it costs a page fault per 2 MiB instead of per 4 KiB. Only advice: nothing
/// changes where it is not granted, and small buffers are left alone.
void preferHugePages(void* buffer, std::int64_t size);

} // namespace ombrel
