// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/GenreName.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"

#include <gtest/gtest.h>

TEST(GenreName, KeepsTheProgramsOwnSpellings)
{
    EXPECT_EQ(GenreName(0), QStringLiteral("Blues"));
    EXPECT_EQ(GenreName(7), QStringLiteral("Hip Hop"));
    EXPECT_EQ(GenreName(14), QStringLiteral("R&B"));
    EXPECT_EQ(GenreName(17), QStringLiteral("Rock"));
    EXPECT_EQ(GenreName(78), QStringLiteral("Rock 'n'Roll"));
    EXPECT_EQ(GenreName(109), QStringLiteral("Pr0n Groove"));
    EXPECT_EQ(GenreName(127), QStringLiteral("Drum & Bass"));
    EXPECT_EQ(GenreName(146), QStringLiteral("JPop"));
    EXPECT_EQ(GenreName(147), QStringLiteral("Synth Pop"));
}

TEST(GenreName, IsEmptyForUnnamedNumbers)
{
    EXPECT_TRUE(GenreName(123).isEmpty());
    EXPECT_TRUE(GenreName(148).isEmpty());
    EXPECT_TRUE(GenreName(255).isEmpty());
}

TEST(GenreName, BothTagClassesAgreeForEveryNumber)
{
    const cMP3ID3v1 v1;
    const cMP3ID3v2 v2;
    for (int n = 0; n < 256; ++n)
        EXPECT_EQ(v1.GenreName(quint8(n)), v2.GenreName(quint8(n))) << n;
}
