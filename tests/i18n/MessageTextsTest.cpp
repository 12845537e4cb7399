// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "LangReader.h"
#include "MessageTexts.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString englishFile() { return TestEnvironment::sourceDir() + QStringLiteral("/Language/english.lng"); }

struct Key {
    const char* section;
    const char* key;
};

// Every text the window, the messages and the options dialog look up.
constexpr Key ShippedKeys[] = {
    {"Menu", "File"}, {"Menu", "Exit"}, {"Menu", "View"}, {"Menu", "LICON"}, {"Menu", "SIcon"},
    {"Menu", "List"}, {"Menu", "Detail"}, {"Menu", "Filename"}, {"Menu", "Filesize"}, {"Menu", "Title"},
    {"Menu", "Artist"}, {"Menu", "Tool"}, {"Menu", "LowFormat"}, {"Menu", "Upgrade"}, {"Menu", "Option"},
    {"UI", "Title"}, {"UI", "ENG"}, {"UI", "LOCAL"},
    {"Main", "folder"}, {"Main", "files"}, {"Main", "Audio"}, {"Main", "Record"}, {"Main", "HDD"},
    {"Main", "Download"}, {"Main", "Upload"}, {"Main", "Delete"}, {"Main", "Format"}, {"Main", "Filename"},
    {"Main", "Filesize"}, {"Main", "Title"}, {"Main", "Artist"}, {"Main", "Genre"}, {"Main", "Single File"},
    {"Main", "Multi File"}, {"Main", "byte"}, {"Main", "Memory"}, {"Main", "Connect"}, {"Main", "DisConnect"},
    {"Msgbox", "NOTENOUGH"}, {"Msgbox", "SameFile1"}, {"Msgbox", "SameFile2"}, {"Msgbox", "FirmUp"},
    {"Msgbox", "Delete"}, {"Msgbox", "Del_Format"}, {"Msgbox", "Format"}, {"Msgbox", "Format_Low"},
    {"Msgbox", "DelFail"}, {"Msgbox", "FirmFail"}, {"Msgbox", "SendFail"}, {"Msgbox", "RecvFail"},
    {"OPTION", "Font"}, {"OPTION", "Bold"}, {"OPTION", "Title"}, {"OPTION", "Filename"}, {"OPTION", "ID3Tag"},
    {"MAIN", "Title"}, {"OPTION", "Artist"}, {"OPTION", "Genre"}, {"OPTION", "Language"}, {"OPTION", "Browse"},
    {"OPTION", "Ok"}, {"OPTION", "Cancel"},
};

} // namespace

TEST(EnglishLanguageFile, HasATextForEveryKey)
{
    for (const Key& key : ShippedKeys) {
        const auto value = mControlUI::ReadLangKey(englishFile(), QLatin1String(key.section), QLatin1String(key.key));
        ASSERT_TRUE(value.has_value());
        EXPECT_FALSE(value->isEmpty()) << key.section << '/' << key.key;
    }
}

TEST(EnglishLanguageFile, KeepsTheDesignTextsWhereTheyMatter)
{
    const auto text = [](const char* section, const char* key) {
        return mControlUI::ReadLangKey(englishFile(), QLatin1String(section), QLatin1String(key)).value_or(QString());
    };
    EXPECT_EQ(text("Main", "folder"), QStringLiteral(" Folder"));
    EXPECT_EQ(text("UI", "Title"), QStringLiteral("ZV-R3100 Audio Manager"));
    EXPECT_EQ(text("Main", "Memory"), QStringLiteral("Memory"));
    EXPECT_EQ(text("Msgbox", "Del_Format"), QStringLiteral("#,##0 files"));
}

TEST(EnglishLanguageFile, EveryLineEndsWithCrLf)
{
    QFile file(englishFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
}

TEST(MessageTexts, LoadsEverySlotFromTheFile)
{
    const auto texts = MessageTexts::load(englishFile());
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->title, QStringLiteral("ZV-R3100 Audio Manager"));
    EXPECT_EQ(texts->singleFile, QStringLiteral("file"));
    EXPECT_FALSE(texts->disconnect.isEmpty());
    EXPECT_FALSE(texts->formatLow.isEmpty());
}

TEST(MessageTexts, OlderFilesGetBuiltInFailureTextsButNothingElse)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("old.lng")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[UI]\r\nTitle = Alt\r\n[Msgbox]\r\nFirmFail = Kaputt\r\n");
    file.close();
    const auto texts = MessageTexts::load(file.fileName());
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->title, QStringLiteral("Alt"));
    EXPECT_EQ(texts->firmFail, QStringLiteral("Kaputt"));
    EXPECT_FALSE(texts->delFail.isEmpty());
    EXPECT_FALSE(texts->sendFail.isEmpty());
    EXPECT_FALSE(texts->recvFail.isEmpty());
    // No English file lies beside this test program, so nothing fills the gap.
    EXPECT_TRUE(texts->connect.isEmpty()) << "a missing ordinary key stays empty";
    EXPECT_FALSE(MessageTexts::load(dir.filePath(QStringLiteral("none.lng"))));
}
