#include "tail/HugePages.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace ombrel {

void preferHugePages([[maybe_unused]] void* buffer, [[maybe_unused]] std::int64_t size) {
#ifdef __linux__
    constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;
    if (size < 4 * static_cast<std::int64_t>(hugePage)) {
        return;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (begin + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = (begin + static_cast<std::uintptr_t>(size)) & ~(hugePage - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
}

} // namespace ombrel
