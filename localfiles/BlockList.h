// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A list indexed like a vector that grows by whole blocks: a block made elsewhere (on another
// thread) joins in constant time, and the items already held never move. The local file list
// takes the rows of a 100,000-file folder this way while the window keeps responding.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <typename T> class BlockList
{
public:
    BlockList() = default;
    explicit BlockList(std::vector<T> items) { append(std::move(items)); }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    void append(std::vector<T> block)
    {
        if (block.empty())
            return;
        m_starts.push_back(m_size);
        m_size += block.size();
        m_blocks.push_back(std::move(block));
    }

    T& operator[](std::size_t index)
    {
        const std::size_t block = blockOf(index);
        return m_blocks[block][index - m_starts[block]];
    }
    const T& operator[](std::size_t index) const
    {
        const std::size_t block = blockOf(index);
        return m_blocks[block][index - m_starts[block]];
    }

private:
    std::size_t blockOf(std::size_t index) const
    {
        // Blocks are few (a folder comes in a handful), so finding one is a short search; the
        // last block answered is tried first, as neighbours are asked for together.
        std::size_t block = m_last;
        if (block >= m_blocks.size() || index < m_starts[block] ||
            index - m_starts[block] >= m_blocks[block].size())
            block =
                std::size_t(std::upper_bound(m_starts.begin(), m_starts.end(), index) - m_starts.begin()) - 1;
        m_last = block;
        return block;
    }

    std::vector<std::vector<T>> m_blocks;
    std::vector<std::size_t> m_starts; // the index of each block's first item
    std::size_t m_size = 0;
    mutable std::size_t m_last = 0;
};
