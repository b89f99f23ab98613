#include "print/PageSelection.h"

#include <algorithm>

namespace ombrel {

std::vector<int> pagesToPrint(const std::vector<PageInterval>& chosen, int pageCount) {
    std::vector<bool> wanted(static_cast<std::size_t>(std::max(pageCount, 0)), chosen.empty());
    for (const PageInterval& interval : chosen) {
        if (pageCount <= 0) {
            break;
        }
        const int from = std::clamp(std::min(interval.from, interval.to), 1, pageCount);
        const int to = std::clamp(std::max(interval.from, interval.to), 1, pageCount);
        std::fill(wanted.begin() + (from - 1), wanted.begin() + to, true);
    }
    std::vector<int> pages;
    for (int page = 0; page < pageCount; ++page) {
        if (wanted[static_cast<std::size_t>(page)]) {
            pages.push_back(page);
        }
    }
    return pages;
}

} // namespace ombrel
