// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/ScanRule.h"
#include "localfiles/FileAttributes.h"
#include "localfiles/FileExtension.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mFileAPI;

namespace
{

TEST(ScanRule, AudioViewMatchesExtensionsInAnyCase)
{
    const ScanRule audio = ScanRule::forView(ViewTab::Audio);
    EXPECT_TRUE(audio.accepts(QStringLiteral("a.mp3"), true, AttrArchive));
    EXPECT_TRUE(audio.accepts(QStringLiteral("b.MP3"), true, AttrArchive));
    EXPECT_TRUE(audio.accepts(QStringLiteral("c.Wma"), true, AttrArchive));
    EXPECT_FALSE(audio.accepts(QStringLiteral("d.mp3.bak"), true, AttrArchive));
    // A name without a dot is its own extension.
    EXPECT_TRUE(audio.accepts(QStringLiteral("MP3"), true, AttrArchive));
    // Hidden files are listed by the include rule, folders never.
    EXPECT_TRUE(audio.accepts(QStringLiteral(".x.mp3"), true, AttrArchive | AttrHidden));
    EXPECT_FALSE(audio.accepts(QStringLiteral("album.mp3"), false, AttrDirectory));
}

TEST(ScanRule, HddViewWantsExactlyReadOnlyOrArchive)
{
    const ScanRule hdd = ScanRule::forView(ViewTab::Hdd);
    EXPECT_TRUE(hdd.accepts(QStringLiteral("notes.txt"), true, AttrArchive));
    EXPECT_TRUE(hdd.accepts(QStringLiteral("notes.txt"), true, AttrReadOnly));
    EXPECT_FALSE(hdd.accepts(QStringLiteral("notes.txt"), true, AttrReadOnly | AttrArchive));
    EXPECT_FALSE(hdd.accepts(QStringLiteral("notes.txt"), true, AttrArchive | AttrHidden));
    EXPECT_FALSE(hdd.accepts(QStringLiteral("notes.txt"), true, AttrNormal));
    EXPECT_FALSE(hdd.accepts(QStringLiteral("song.mp3"), true, AttrArchive));
    EXPECT_FALSE(hdd.accepts(QStringLiteral("REC001.zvd"), true, AttrArchive));
    EXPECT_TRUE(hdd.accepts(QStringLiteral("README"), true, AttrArchive));
}

TEST(ScanRule, EmptyWordsMatchNothing)
{
    const ScanRule record = ScanRule::forView(ViewTab::Record);
    EXPECT_TRUE(record.accepts(QStringLiteral("rec.zvd"), true, AttrArchive));
    EXPECT_FALSE(record.accepts(QStringLiteral("noext."), true, AttrArchive));
}

TEST(FileAttributes, MapsWritabilityAndLeadingDot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto make = [&](const QString& name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    };
    EXPECT_EQ(attributeWord(QFileInfo(make(QStringLiteral("plain.txt")))), quint32(AttrArchive));
    EXPECT_EQ(attributeWord(QFileInfo(make(QStringLiteral(".hidden")))), quint32(AttrArchive | AttrHidden));
    const QString locked = make(QStringLiteral("locked.txt"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    if (!QFileInfo(locked).isWritable()) { // root may write anything
        EXPECT_EQ(attributeWord(QFileInfo(locked)), quint32(AttrReadOnly));
    }
    EXPECT_EQ(attributeWord(QFileInfo(dir.path())), quint32(AttrDirectory));
}

TEST(FileExtension, TakesTheTextAfterTheLastDot)
{
    EXPECT_EQ(extensionOf(QStringLiteral("a.b.mp3")), QStringLiteral("MP3"));
    EXPECT_EQ(extensionOf(QStringLiteral("readme")), QStringLiteral("README"));
    EXPECT_EQ(extensionOf(QStringLiteral("trailing.")), QString());
    EXPECT_TRUE(isMusicName(QStringLiteral("x.wMa")));
    EXPECT_FALSE(isMusicName(QStringLiteral("x.wav")));
    EXPECT_TRUE(isMp3Name(QStringLiteral("x.Mp3")));
}

TEST(ViewTab, ParsesTheCommandLineWords)
{
    ViewTab tab = ViewTab::Audio;
    EXPECT_TRUE(parseViewTab(QStringLiteral("HDD"), tab));
    EXPECT_EQ(tab, ViewTab::Hdd);
    EXPECT_FALSE(parseViewTab(QStringLiteral("all"), tab));
}

} // namespace
