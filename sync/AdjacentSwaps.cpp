// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/AdjacentSwaps.h"

#include <utility>

namespace AdjacentSwaps
{
namespace
{

int64_t mergeCount(std::vector<int64_t>& values, std::vector<int64_t>& scratch, std::size_t low,
                   std::size_t high)
{
    if (high - low < 2)
        return 0;
    const std::size_t middle = low + (high - low) / 2;
    int64_t count = mergeCount(values, scratch, low, middle) + mergeCount(values, scratch, middle, high);
    std::size_t i = low, j = middle, k = low;
    while (i < middle && j < high) {
        if (values[j] < values[i]) {
            count += int64_t(middle - i);
            scratch[k++] = values[j++];
        } else {
            scratch[k++] = values[i++];
        }
    }
    while (i < middle)
        scratch[k++] = values[i++];
    while (j < high)
        scratch[k++] = values[j++];
    for (std::size_t m = low; m < high; ++m)
        values[m] = scratch[m];
    return count;
}

} // namespace

std::vector<int32_t> plan(std::vector<int64_t> rank)
{
    // Insertion sort swaps only inverted neighbours, so it makes exactly one swap per inversion.
    std::vector<int32_t> swaps;
    for (std::size_t i = 1; i < rank.size(); ++i) {
        for (std::size_t j = i; j > 0 && rank[j] < rank[j - 1]; --j) {
            std::swap(rank[j], rank[j - 1]);
            swaps.push_back(int32_t(j - 1));
        }
    }
    return swaps;
}

int64_t inversions(const std::vector<int64_t>& rank)
{
    std::vector<int64_t> values = rank;
    std::vector<int64_t> scratch(values.size());
    return mergeCount(values, scratch, 0, values.size());
}

} // namespace AdjacentSwaps
