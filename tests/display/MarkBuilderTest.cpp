#include "display/MarkBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ombrel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

MarkRuns build(const std::vector<KeywordOccurrences>& occurrences) {
    auto runs = MarkBuilder::build(occurrences);
    EXPECT_TRUE(runs.has_value());
    return runs.value_or(MarkRuns{});
}

TEST(MarkBuilder, SingleOccurrencesGrowOneStep) {
    EXPECT_THAT(build({{5, {0, 10}}}), ElementsAre(MarkRun{0, 5, 1}, MarkRun{10, 5, 1}));
    EXPECT_THAT(build({{5, {}}, {0, {3}}}), IsEmpty());
}

TEST(MarkBuilder, KeywordListedTwiceGrowsTwice) {
    EXPECT_THAT(build({{5, {2}}, {5, {2}}}), ElementsAre(MarkRun{2, 5, 2}));
}

TEST(MarkBuilder, NestedKeywordGrowsItsLettersAgain) {
    // "error" at 0, then "rr" at 1: the inner letters are one size when "rr" is marked.
    EXPECT_THAT(build({{5, {0}}, {2, {1}}}),
                ElementsAre(MarkRun{0, 1, 1}, MarkRun{1, 2, 2}, MarkRun{3, 2, 1}));
}

TEST(MarkBuilder, PartialOverlapKeepsMixedSizes) {
    // "abc" at 0 grows; "cde" at 2 spans a grown and two plain letters, so it only gets marked.
    EXPECT_THAT(build({{3, {0}}, {3, {2}}}), ElementsAre(MarkRun{0, 3, 1}, MarkRun{3, 2, 0}));
    // Listed the other way round, the first marked keyword is the one that grows.
    EXPECT_THAT(build({{3, {2}}, {3, {0}}}), ElementsAre(MarkRun{0, 2, 0}, MarkRun{2, 3, 1}));
}

TEST(MarkBuilder, OverlappingOccurrencesOfOneKeyword) {
    // "aa" in "aaaa" at 0, 1, 2: the first grows, the second spans two sizes, the third grows.
    EXPECT_THAT(build({{2, {0, 1, 2}}}), ElementsAre(MarkRun{0, 4, 1}));
    // "aa" in "aaa" at 0, 1: the second occurrence is mixed, so the last letter stays plain.
    EXPECT_THAT(build({{2, {0, 1}}}), ElementsAre(MarkRun{0, 2, 1}, MarkRun{2, 1, 0}));
}

TEST(MarkBuilder, TouchingMarksOfOneSizeFormOneRun) {
    EXPECT_THAT(build({{2, {0, 2}}, {1, {6}}}), ElementsAre(MarkRun{0, 4, 1}, MarkRun{6, 1, 1}));
}

TEST(MarkBuilder, StopsWhenNoLongerWanted) {
    std::vector<std::int64_t> starts;
    for (std::int64_t i = 0; i < 100000; ++i) {
        starts.push_back(i * 3);
    }
    EXPECT_FALSE(MarkBuilder::build({{2, starts}}, [] { return true; }).has_value());
}

} // namespace
} // namespace ombrel
