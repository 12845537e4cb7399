// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player's copy of a transfer: exactly the promised bytes, or an error when the source holds
// fewer (a file that shrank after its size was taken), whether the kernel or this process copies.
#include "vplayer/Transfer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace
{

struct Closer {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, Closer>;

std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 1000);
    return bytes;
}

File withContents(const std::string& bytes)
{
    File file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string contentsOf(FILE* file)
{
    std::rewind(file);
    std::string bytes;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, got);
    return bytes;
}

TEST(TransferCopy, CopiesThePromisedBytesOrSaysTheSourceEndedEarly)
{
    const std::string source = pattern(300000);
    // 0: unpaced (the kernel copies); a speed: paced by hand, in chunks.
    for (const std::uint64_t speed : {std::uint64_t(0), std::uint64_t(100000000)}) {
        const File in = withContents(source);
        const File out(std::tmpfile());
        EXPECT_EQ(Transfer::copy(in.get(), out.get(), source.size(), speed, [] { return true; }), "");
        EXPECT_TRUE(contentsOf(out.get()) == source) << speed;

        // Only part of the source is asked for: that part and no more.
        const File partIn = withContents(source);
        const File partOut(std::tmpfile());
        EXPECT_EQ(Transfer::copy(partIn.get(), partOut.get(), 1000, speed, [] { return true; }), "");
        EXPECT_TRUE(contentsOf(partOut.get()) == source.substr(0, 1000)) << speed;

        // The size was taken before the file shrank: an error, never a short file called whole.
        const File shrunk = withContents(source.substr(0, 200000));
        const File shortOut(std::tmpfile());
        EXPECT_EQ(Transfer::copy(shrunk.get(), shortOut.get(), source.size(), speed, [] { return true; }),
                  "the source ended early")
            << speed;
    }
}

} // namespace
