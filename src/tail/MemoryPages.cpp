#include "tail/MemoryPages.h"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace ombrel {

#ifdef __linux__
namespace {

// Calls advise on the whole pages of the given size within [buffer, buffer + size), if any.
template <class Advise>
void onWholePages(void* buffer, std::int64_t size, std::uintptr_t page, Advise advise) {
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = (begin + static_cast<std::uintptr_t>(size)) & ~(page - 1);
    if (last > first) {
        advise(reinterpret_cast<void*>(first), last - first);
    }
}

} // namespace
#endif

void preferHugePages([[maybe_unused]] void* buffer, [[maybe_unused]] std::int64_t size) {
#ifdef __linux__
    constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;
    if (size < 4 * static_cast<std::int64_t>(hugePage)) {
        return;
    }
    onWholePages(buffer, size, hugePage,
                 [](void* first, std::size_t length) { ::madvise(first, length, MADV_HUGEPAGE); });
#endif
}

void releasePages([[maybe_unused]] void* buffer, [[maybe_unused]] std::int64_t size) {
#ifdef __linux__
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    onWholePages(buffer, size, page,
                 [](void* first, std::size_t length) { ::madvise(first, length, MADV_DONTNEED); });
#endif
}

} // namespace ombrel
