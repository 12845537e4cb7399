// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/AdjacentSwaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <queue>
#include <random>

namespace
{

std::vector<int64_t> applied(std::vector<int64_t> rank, const std::vector<int32_t>& swaps)
{
    for (int32_t p : swaps)
        std::swap(rank[std::size_t(p)], rank[std::size_t(p) + 1]);
    return rank;
}

// The true distance of every arrangement of n entries from the sorted one, by breadth-first
// search over single neighbour swaps.
std::map<std::vector<int64_t>, int> distances(int n)
{
    std::vector<int64_t> sorted(static_cast<std::size_t>(n));
    std::iota(sorted.begin(), sorted.end(), 0);
    std::map<std::vector<int64_t>, int> seen{{sorted, 0}};
    std::queue<std::vector<int64_t>> queue;
    queue.push(sorted);
    while (!queue.empty()) {
        const std::vector<int64_t> state = queue.front();
        queue.pop();
        for (int p = 0; p + 1 < n; ++p) {
            std::vector<int64_t> next = state;
            std::swap(next[std::size_t(p)], next[std::size_t(p) + 1]);
            if (seen.emplace(next, seen[state] + 1).second)
                queue.push(next);
        }
    }
    return seen;
}

} // namespace

TEST(AdjacentSwaps, EveryArrangementOfUpToSixIsSortedWithTheFewestPossibleSwaps)
{
    for (int n = 0; n <= 6; ++n) {
        const auto shortest = distances(n);
        ASSERT_EQ(shortest.size(), std::size_t(std::max(1, int(std::tgamma(n + 1) + 0.5))));
        for (const auto& [arrangement, distance] : shortest) {
            const std::vector<int32_t> swaps = AdjacentSwaps::plan(arrangement);
            EXPECT_EQ(int(swaps.size()), distance);
            EXPECT_EQ(AdjacentSwaps::inversions(arrangement), distance);
            const std::vector<int64_t> result = applied(arrangement, swaps);
            EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
        }
    }
}

TEST(AdjacentSwaps, EqualRanksKeepTheirOrderAndSortedListsNeedNothing)
{
    EXPECT_TRUE(AdjacentSwaps::plan({0, 1, 1, 2, 7}).empty());
    // Only the 0 travels: the two entries of rank 1 are never swapped with each other.
    EXPECT_EQ(AdjacentSwaps::plan({1, 1, 0}), (std::vector<int32_t>{1, 0}));
    // One entry appended at the end that belongs first: one swap per entry it passes.
    EXPECT_EQ(AdjacentSwaps::plan({1, 2, 3, 0}), (std::vector<int32_t>{2, 1, 0}));
}

TEST(AdjacentSwaps, LargeShuffleTakesExactlyItsInversions)
{
    std::vector<int64_t> rank(300);
    std::iota(rank.begin(), rank.end(), 0);
    std::mt19937 random(15);
    std::shuffle(rank.begin(), rank.end(), random);
    const std::vector<int32_t> swaps = AdjacentSwaps::plan(rank);
    EXPECT_EQ(int64_t(swaps.size()), AdjacentSwaps::inversions(rank));
    const std::vector<int64_t> result = applied(rank, swaps);
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
}
