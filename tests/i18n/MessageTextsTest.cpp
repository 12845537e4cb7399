// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/MessageTexts.h"
#include "TestEnvironment.h"
#include "i18n/LangReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QString englishFile()
{
    return TestEnvironment::sourceDir() + QStringLiteral("/Language/english.lng");
}

struct Key {
    const char* section;
    const char* key;
};

// Every text the window, the messages and the options dialog look up.
constexpr Key ShippedKeys[] = {
    {"Menu", "File"},        {"Menu", "Exit"},         {"Menu", "View"},        {"Menu", "LICON"},
    {"Menu", "SIcon"},       {"Menu", "List"},         {"Menu", "Detail"},      {"Menu", "Filename"},
    {"Menu", "Filesize"},    {"Menu", "Title"},        {"Menu", "Artist"},      {"Menu", "Tool"},
    {"Menu", "LowFormat"},   {"Menu", "Upgrade"},      {"Menu", "Option"},      {"UI", "Title"},
    {"UI", "ENG"},           {"UI", "LOCAL"},          {"Main", "folder"},      {"Main", "files"},
    {"Main", "Audio"},       {"Main", "Record"},       {"Main", "HDD"},         {"Main", "Download"},
    {"Main", "Upload"},      {"Main", "Delete"},       {"Main", "Format"},      {"Main", "Filename"},
    {"Main", "Filesize"},    {"Main", "Title"},        {"Main", "Artist"},      {"Main", "Genre"},
    {"Main", "Single File"}, {"Main", "Multi File"},   {"Main", "byte"},        {"Main", "Memory"},
    {"Main", "Connect"},     {"Main", "DisConnect"},   {"Msgbox", "NOTENOUGH"}, {"Msgbox", "SameFile1"},
    {"Msgbox", "SameFile2"}, {"Msgbox", "FirmUp"},     {"Msgbox", "Delete"},    {"Msgbox", "Del_Format"},
    {"Msgbox", "Format"},    {"Msgbox", "Format_Low"}, {"Msgbox", "DelFail"},   {"Msgbox", "FirmFail"},
    {"Msgbox", "SendFail"},  {"Msgbox", "RecvFail"},   {"OPTION", "Font"},      {"OPTION", "Bold"},
    {"OPTION", "Title"},     {"OPTION", "Filename"},   {"OPTION", "ID3Tag"},    {"MAIN", "Title"},
    {"OPTION", "Artist"},    {"OPTION", "Genre"},      {"OPTION", "Language"},  {"OPTION", "Browse"},
    {"OPTION", "Ok"},        {"OPTION", "Cancel"},
};

} // namespace

TEST(EnglishLanguageFile, HasATextForEveryKey)
{
    for (const Key& key : ShippedKeys) {
        const auto value =
            mControlUI::ReadLangKey(englishFile(), QLatin1String(key.section), QLatin1String(key.key));
        ASSERT_TRUE(value.has_value());
        EXPECT_FALSE(value->isEmpty()) << key.section << '/' << key.key;
    }
}

TEST(EnglishLanguageFile, KeepsTheDesignTextsWhereTheyMatter)
{
    const auto text = [](const char* section, const char* key) {
        return mControlUI::ReadLangKey(englishFile(), QLatin1String(section), QLatin1String(key))
            .value_or(QString());
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

namespace
{

// The %1, %2 ... a text fills in; a translation that drops one loses a count or a name.
QSet<QString> placeholders(const QString& text)
{
    QSet<QString> found;
    static const QRegularExpression marker(QStringLiteral("%[1-9]"));
    for (auto match = marker.globalMatch(text); match.hasNext();)
        found.insert(match.next().captured());
    return found;
}

} // namespace

TEST(MessageTexts, EveryShippedTranslationHasItsOwnFailureTextsWithTheSamePlaceholders)
{
    const QString folder = TestEnvironment::sourceDir() + QStringLiteral("/Language/");
    const auto english = MessageTexts::load(englishFile());
    ASSERT_TRUE(english);
    // Texts of failures, of the safe replace and of failed reads: each said in the user's language.
    const QString MessageTexts::*translated[] = {
        &MessageTexts::delFail,        &MessageTexts::firmFail,        &MessageTexts::sendFail,
        &MessageTexts::recvFail,       &MessageTexts::firmAsk,         &MessageTexts::notSent,
        &MessageTexts::notReceived,    &MessageTexts::replaceUnread,   &MessageTexts::replaceChanged,
        &MessageTexts::replaceRefused, &MessageTexts::oldCopyStays,    &MessageTexts::oldCopyGone,
        &MessageTexts::oldCopyAside,   &MessageTexts::detached,        &MessageTexts::nameInOtherView,
        &MessageTexts::nameTaken,      &MessageTexts::notPlainName,    &MessageTexts::sizeUnknown,
        &MessageTexts::shortRead,      &MessageTexts::memoryUnread,    &MessageTexts::entriesUnread,
        &MessageTexts::notTried,       &MessageTexts::asideNotDeleted, &MessageTexts::asideNotRenamed,
        &MessageTexts::convNotAFile,   &MessageTexts::convSameFile,    &MessageTexts::convUnreadable,
        &MessageTexts::convEncoder,    &MessageTexts::convWrite,       &MessageTexts::convUnavailable,
        &MessageTexts::convNoRoom,     &MessageTexts::notConverted,
    };
    const MessageTexts builtIn = MessageTexts::builtIn();
    for (const char* name : {"german.lng", "french.lng", "spanish.lng", "korean.lng"}) {
        const auto texts = MessageTexts::load(folder + QLatin1String(name));
        ASSERT_TRUE(texts) << name;
        for (std::size_t i = 0; i < std::size(translated); ++i) {
            const QString& text = (*texts).*translated[i];
            EXPECT_NE(text, (*english).*translated[i]) << name << " text " << i << " is still English";
            EXPECT_EQ(placeholders(text), placeholders(builtIn.*translated[i])) << name << " text " << i;
        }
    }
    // The English file says what the built-in fallbacks of the transfer texts say, so a file
    // without them reads the same.
    for (std::size_t i = 5; i < std::size(translated); ++i)
        EXPECT_EQ((*english).*translated[i], builtIn.*translated[i]) << "text " << i;
}
