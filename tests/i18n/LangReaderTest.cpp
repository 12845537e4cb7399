// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/LangReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using mControlUI::ReadLangKey;
using mControlUI::ReadLangKeyFromBytes;

namespace
{

QString lookup(const char* file, const char* section, const char* key)
{
    return ReadLangKeyFromBytes(QByteArrayView(file), QLatin1String(section), QLatin1String(key));
}

} // namespace

TEST(ReadLangKey, EntryNeedsOneBlankOnEachSideOfTheEqualsSign)
{
    EXPECT_EQ(lookup("[Main]\r\nMemory = Speicher\r\n", "Main", "Memory"), QStringLiteral("Speicher"));
    EXPECT_EQ(lookup("[Main]\r\nMemory=Speicher\r\n", "Main", "Memory"), QString());
    EXPECT_EQ(lookup("[Main]\r\nMemory=Speicher\r\n", "Main", "Memor"), QStringLiteral("peicher"));
}

TEST(ReadLangKey, CommaCutsTheValueUnlessTheWholeLineIsQuoted)
{
    EXPECT_EQ(lookup("[Msgbox]\r\nDelete = Yes, delete\r\n", "Msgbox", "Delete"), QStringLiteral("Yes"));
    EXPECT_EQ(lookup("[Msgbox]\r\n\"Delete = Yes, delete\"\r\n", "Msgbox", "Delete"),
              QStringLiteral("Yes, delete"));
    EXPECT_EQ(lookup("[Msgbox]\r\nDelete = \"Yes, delete\"\r\n", "Msgbox", "Delete"),
              QStringLiteral("\"Yes"));
}

TEST(ReadLangKey, SectionsAndKeysIgnoreCase)
{
    EXPECT_EQ(lookup("[menu]\r\nfile = &Datei\r\n", "Menu", "File"), QStringLiteral("&Datei"));
    EXPECT_EQ(lookup("[MENU]\r\nFILE = &Datei\r\n", "menu", "file"), QStringLiteral("&Datei"));
}

TEST(ReadLangKey, MissingKeyIsTakenFromALaterSection)
{
    const char* file = "[Main]\r\nConnect = On\r\n[Msgbox]\r\nMemory = Later\r\n";
    EXPECT_EQ(lookup(file, "Main", "Memory"), QStringLiteral("Later"));
    EXPECT_EQ(lookup(file, "Msgbox", "Connect"), QString()) << "the scan never goes back";
}

TEST(ReadLangKey, OnlyTheFirstSectionOfANameIsRead)
{
    EXPECT_EQ(lookup("[UI]\r\nENG = First\r\n[UI]\r\nLOCAL = Second\r\n", "UI", "LOCAL"),
              QStringLiteral("Second"));
    EXPECT_EQ(lookup("[UI]\r\nENG = First\r\n[UI]\r\nENG = Second\r\n", "UI", "ENG"),
              QStringLiteral("First"));
}

TEST(ReadLangKey, IndentedEntriesAndHeadersAreFound)
{
    EXPECT_EQ(lookup("   [Main]  \r\n\t  Audio = MUSIK\r\n", "Main", "Audio"), QStringLiteral("MUSIK"));
}

TEST(ReadLangKey, MissingHeaderGivesEmptyForEveryKey)
{
    const char* file = "[Menu]\r\nFile = F\r\nMain = x\r\n";
    EXPECT_EQ(lookup(file, "Main", "File"), QString());
    EXPECT_EQ(lookup("", "Main", "File"), QString());
}

TEST(ReadLangKey, EqualsSignInFirstOrSecondPlaceMatchesNoKey)
{
    EXPECT_EQ(lookup("[S]\r\n= value\r\nK= value\r\n", "S", ""), QString());
    EXPECT_EQ(lookup("[S]\r\nK= value\r\n", "S", "K"), QString());
}

TEST(ReadLangKey, EntryEndingAtTheEqualsSignHasAnEmptyValue)
{
    EXPECT_EQ(lookup("[S]\r\nKey =\r\nKey = late\r\n", "S", "Key"), QString());
    EXPECT_EQ(lookup("[S]\r\nKey = \r\n", "S", "Key"), QString());
}

TEST(ReadLangKey, LoneCarriageReturnsAndLineFeedsEndLines)
{
    EXPECT_EQ(lookup("[S]\rA = 1\rB = 2", "S", "B"), QStringLiteral("2"));
    EXPECT_EQ(lookup("[S]\nA = 1\nB = 2\n", "S", "A"), QStringLiteral("1"));
}

TEST(ReadLangKey, LinesWithoutEqualsSignAreComments)
{
    EXPECT_EQ(lookup("Just a note\r\n[S]\r\nnote about Key\r\n\r\nKey = v\r\n", "S", "Key"),
              QStringLiteral("v"));
}

TEST(ReadLangKey, UnclosedQuoteEndsWithItsLine)
{
    EXPECT_EQ(lookup("[S]\r\n\"A = broken, text\r\nB = fine\r\n", "S", "B"), QStringLiteral("fine"));
    EXPECT_EQ(lookup("[S]\r\n\"A = broken, text\r\n", "S", "A"), QStringLiteral("broken, text"));
}

TEST(ReadLangKey, BytesAreTheAnsiCodePage)
{
    EXPECT_EQ(lookup("[S]\r\nK = Caf\xe9\r\n", "S", "K"), QStringLiteral("Caf\u00e9"));
}

TEST(ReadLangKey, MissingFileIsAFailureNotAnEmptyText)
{
    QTemporaryDir dir;
    EXPECT_FALSE(
        ReadLangKey(dir.filePath(QStringLiteral("none.lng")), QStringLiteral("UI"), QStringLiteral("Title")));
    EXPECT_FALSE(ReadLangKey(QString(), QStringLiteral("UI"), QStringLiteral("Title")));
    EXPECT_FALSE(mControlUI::CanOpenLanguageFile(dir.filePath(QStringLiteral("none.lng"))));

    QFile file(dir.filePath(QStringLiteral("x.lng")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[UI]\r\nTitle = Hello\r\n");
    file.close();
    EXPECT_EQ(ReadLangKey(file.fileName(), QStringLiteral("UI"), QStringLiteral("Title")),
              QStringLiteral("Hello"));
    EXPECT_EQ(ReadLangKey(file.fileName(), QStringLiteral("UI"), QStringLiteral("Nope")), QString());
}

TEST(ReadLangKey, MissingFileMessageNamesThePath)
{
    EXPECT_EQ(mControlUI::MissingLanguageFileText(QStringLiteral("/a/b.lng")),
              QStringLiteral("Can't Find Language File.\r\n/a/b.lng"));
}
