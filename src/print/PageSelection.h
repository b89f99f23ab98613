#pragma once

#include <vector>

namespace ombrel {

/// Pages a user asked for, numbered from 1 as the print dialog shows them; both ends included.
struct PageInterval {
    int from = 1; ///< first page asked for
    int to = 1;   ///< last page asked for
};

/// The 0-based pages to print, ascending and each once: every page when chosen is empty,
/// otherwise the pages of chosen with each end cut to 1..pageCount (a range past the end
/// prints the last page), since the pages may have been counted again for other paper.
std::vector<int> pagesToPrint(const std::vector<PageInterval>& chosen, int pageCount);

} // namespace ombrel
