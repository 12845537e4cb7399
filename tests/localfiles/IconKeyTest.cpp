// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/IconKey.h"

#include <gtest/gtest.h>

using mGetFileIcon::iconKey;

namespace
{

TEST(IconKey, OrdinaryTypesShareOneKey)
{
    EXPECT_EQ(iconKey(QStringLiteral("/a/song.mp3")), QStringLiteral("MP3"));
    EXPECT_EQ(iconKey(QStringLiteral("/b/TRACK.Mp3")), QStringLiteral("MP3"));
    EXPECT_EQ(iconKey(QStringLiteral("archive.abc")), QStringLiteral("ABC"));
}

TEST(IconKey, ProgramsAndIconsKeyOnTheirWholePath)
{
    EXPECT_EQ(iconKey(QStringLiteral("C:\\Tools\\setup.exe")), QStringLiteral("C:\\TOOLS\\SETUP.EXE"));
    EXPECT_EQ(iconKey(QStringLiteral("D:\\setup.exe")), QStringLiteral("D:\\SETUP.EXE"));
    EXPECT_EQ(iconKey(QStringLiteral("/x/app.Ico")), QStringLiteral("/X/APP.ICO"));
}

TEST(IconKey, NumericExtensionsGetASuffix)
{
    EXPECT_EQ(iconKey(QStringLiteral("archive.001")), QStringLiteral("001T"));
    EXPECT_EQ(iconKey(QStringLiteral("archive.1st")), QStringLiteral("1STT"));
    EXPECT_EQ(iconKey(QStringLiteral("archive.999")), QStringLiteral("999T"));
    EXPECT_EQ(iconKey(QStringLiteral("archive.9999")), QStringLiteral("9999"));
}

TEST(IconKey, PathsWithoutAPointInTheNameUseTheFolderPart)
{
    EXPECT_EQ(iconKey(QStringLiteral("C:\\Data\\README")), QStringLiteral("C:\\DATA\\README"));
    EXPECT_EQ(iconKey(QStringLiteral("C:\\my.dir\\README")), QStringLiteral("DIR\\README"));
}

} // namespace
