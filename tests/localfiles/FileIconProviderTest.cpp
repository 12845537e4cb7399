// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FileIconProvider.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace
{

TEST(FileIconProvider, OneEntryPerTypeInEachList)
{
    FileIconProvider icons;
    const qint16 first = icons.GetICON16(QStringLiteral("/a/song.mp3"));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(icons.GetICON16(QStringLiteral("/b/TRACK.Mp3")), first);
    EXPECT_EQ(icons.count16(), 1);
    EXPECT_EQ(icons.GetICON16(QStringLiteral("/a/notes.txt")), 2);
    EXPECT_EQ(icons.GetICON32(QStringLiteral("/a/notes.txt")), 1); // the lists number separately
    EXPECT_EQ(icons.GetICON16(QStringLiteral("/a/setup.exe")), 3);
    EXPECT_EQ(icons.GetICON16(QStringLiteral("/b/setup.exe")), 4);
    EXPECT_FALSE(icons.icon16(first).isNull());
    EXPECT_TRUE(icons.icon16(99).isNull());
}

TEST(FileIconProvider, UnknownTypesGetAGenericIconWithoutWaiting)
{
    FileIconProvider icons;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 200; ++i)
        icons.GetICON16(QStringLiteral("/nowhere/file.x%1q").arg(i));
    EXPECT_LT(timer.elapsed(), 2000); // no per-entry pause
    EXPECT_EQ(icons.count16(), 200);
    EXPECT_FALSE(icons.icon16(200).isNull());
}

} // namespace
