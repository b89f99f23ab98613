#include "display/MarkBuilder.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

MarkRuns build(const std::vector<KeywordOccurrences>& occurrences) {
    auto runs = MarkBuilder::build(occurrences);
    EXPECT_TRUE(runs.has_value());
    return runs.value_or(MarkRuns{});
}

TEST(MarkBuilder, OnlyOccurrencesOfOneSizeGrow) {
    const std::pair<std::vector<KeywordOccurrences>, MarkRuns> cases[] = {
        {{{5, {0, 10}}}, {{0, 5, 1}, {10, 5, 1}}},
        {{{5, {}}, {0, {3}}}, {}},
        {{{5, {2}}, {5, {2}}}, {{2, 5, 2}}}, // a keyword listed twice grows twice
        // "error" at 0, then "rr" at 1: the inner letters are one size when "rr" is marked.
        {{{5, {0}}, {2, {1}}}, {{0, 1, 1}, {1, 2, 2}, {3, 2, 1}}},
        // "abc" at 0 grows; "cde" at 2 spans a grown and two plain letters, so it is only
        // marked. Listed the other way round, the first marked keyword grows.
        {{{3, {0}}, {3, {2}}}, {{0, 3, 1}, {3, 2, 0}}},
        {{{3, {2}}, {3, {0}}}, {{0, 2, 0}, {2, 3, 1}}},
        // "aa" in "aaaa" at 0, 1, 2: the first grows, the second spans two sizes, the third
        // grows; in "aaa" the second is mixed, so the last letter stays plain.
        {{{2, {0, 1, 2}}}, {{0, 4, 1}}},
        {{{2, {0, 1}}}, {{0, 2, 1}, {2, 1, 0}}},
        {{{2, {0, 2}}, {1, {6}}}, {{0, 4, 1}, {6, 1, 1}}}, // touching marks of one size join
    };
    for (const auto& [occurrences, expected] : cases) {
        EXPECT_EQ(build(occurrences), expected);
    }
}

} // namespace
} // namespace ombrel
