// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player reorders its entries only by swapping two neighbours. These functions find the
// shortest sequence of such swaps that brings a list into a wanted order.
#pragma once

#include <cstdint>
#include <vector>

namespace AdjacentSwaps
{

// rank[i]: where the entry now at position i belongs (any comparable numbers; equal ranks keep
// their order). Returns the positions p, each meaning "swap the entries at p and p + 1", in the
// order to apply them. Their number is the count of inverted pairs, which no shorter sequence
// can reach: each neighbour swap puts right at most one inverted pair.
std::vector<int32_t> plan(std::vector<int64_t> rank);

// The number of inverted pairs (i < j with rank[i] > rank[j]), counted in n log n.
int64_t inversions(const std::vector<int64_t>& rank);

} // namespace AdjacentSwaps
