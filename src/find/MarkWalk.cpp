#include "find/MarkWalk.h"

#include <algorithm>

namespace ombrel {

namespace {

using Run = MarkRuns::const_iterator;

bool touchesPrevious(const MarkRuns& marks, Run run) {
    return run != marks.begin() && std::prev(run)->end() == run->start;
}

// The mark made of run and the runs that touch it on either side.
MarkSpan spanOf(const MarkRuns& marks, Run run) {
    Run first = run;
    while (touchesPrevious(marks, first)) {
        --first;
    }
    Run last = run;
    while (std::next(last) != marks.end() && std::next(last)->start == last->end()) {
        ++last;
    }
    return {first->start, last->end()};
}

} // namespace

std::optional<MarkSpan> MarkWalk::next(const DisplayModel& model, std::int64_t position) {
    const MarkRuns& marks = model.marks();
    if (marks.empty()) {
        return std::nullopt;
    }
    Run run =
        std::lower_bound(marks.begin(), marks.end(), position,
                         [](const MarkRun& r, std::int64_t value) { return r.start < value; });
    while (run != marks.end() && touchesPrevious(marks, run)) {
        ++run; // inside the mark the position is in: on to the next one
    }
    return spanOf(marks, run == marks.end() ? marks.begin() : run);
}

std::optional<MarkSpan> MarkWalk::previous(const DisplayModel& model, std::int64_t position) {
    const MarkRuns& marks = model.marks();
    if (marks.empty()) {
        return std::nullopt;
    }
    const Run run =
        std::lower_bound(marks.begin(), marks.end(), position,
                         [](const MarkRun& r, std::int64_t value) { return r.start < value; });
    return spanOf(marks, run == marks.begin() ? std::prev(marks.end()) : std::prev(run));
}

} // namespace ombrel
