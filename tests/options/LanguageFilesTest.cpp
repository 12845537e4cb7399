// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The language files that ship beside the program: complete, in their code page, and written so
// that the reader takes every text whole.
#include "TestEnvironment.h"
#include "core/CodePage.h"
#include "i18n/LangItemReader.h"
#include "i18n/LangReader.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

namespace
{

struct ShippedLanguage {
    const char* file;
    const char* codePage;
    const char* englishName;
    const char* localName; // UTF-8
};

constexpr ShippedLanguage kShipped[] = {
    {"english.lng", "CP1252", "English", "English"},
    {"german.lng", "CP1252", "German", "Deutsch"},
    {"french.lng", "CP1252", "French",
     "Fran\xC3\xA7"
     "ais"},
    {"spanish.lng", "CP1252", "Spanish", "Espa\xC3\xB1ol"},
    {"korean.lng", "CP949", "Korean", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},
};

QDir languageFolder()
{
    return QDir(TestEnvironment::sourceDir() + QStringLiteral("/Language"));
}

QByteArray bytesOf(const QString& name)
{
    QFile file(languageFolder().filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Section name (upper case) -> keys (upper case) of every entry, read item by item as the reader
// does; keys must have a blank on each side of the "=".
QMap<QString, QSet<QString>> entries(const QString& text)
{
    QMap<QString, QSet<QString>> sections;
    QString section;
    LangItemReader reader(text);
    QString item;
    while (reader.next(item)) {
        if (item.startsWith(QLatin1Char('[')) && item.endsWith(QLatin1Char(']'))) {
            section = item.mid(1, item.size() - 2).toUpper();
            continue;
        }
        const qsizetype equals = item.indexOf(QStringLiteral(" = "));
        if (equals > 0 && !section.isEmpty())
            sections[section].insert(item.left(equals).toUpper());
    }
    return sections;
}

class CodePageScope
{
public:
    explicit CodePageScope(const char* name) : m_old(CodePage::name())
    {
        EXPECT_TRUE(CodePage::setCodePage(name));
    }
    ~CodePageScope() { CodePage::setCodePage(m_old); }

private:
    QByteArray m_old;
};

} // namespace

TEST(ShippedLanguages, EveryFileInTheFolderIsKnownHere)
{
    QSet<QString> known;
    for (const ShippedLanguage& language : kShipped)
        known.insert(QLatin1String(language.file));
    for (const QString& name : languageFolder().entryList({QStringLiteral("*.lng")}, QDir::Files))
        EXPECT_TRUE(known.contains(name)) << name.toStdString() << " needs its code page in this test";
}

TEST(ShippedLanguages, BytesAreCleanInTheirCodePageWithCrLfLines)
{
    for (const ShippedLanguage& language : kShipped) {
        SCOPED_TRACE(language.file);
        const QByteArray bytes = bytesOf(QLatin1String(language.file));
        ASSERT_FALSE(bytes.isEmpty());
        CodePageScope scope(language.codePage);
        const QString text = CodePage::toUnicode(bytes);
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << "bytes outside the code page";
        EXPECT_EQ(CodePage::fromUnicode(text), bytes) << "the text does not survive a round trip";
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "a line ends without CR LF";
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r')) << "a lone CR";
        EXPECT_TRUE(bytes.endsWith("\r\n"));
    }
}

TEST(ShippedLanguages, EveryFileHasEveryKeyOfTheEnglishFile)
{
    CodePageScope english("CP1252");
    const auto reference = entries(CodePage::toUnicode(bytesOf(QStringLiteral("english.lng"))));
    ASSERT_GE(reference.size(), 5);
    for (const ShippedLanguage& language : kShipped) {
        SCOPED_TRACE(language.file);
        CodePageScope scope(language.codePage);
        const QByteArray bytes = bytesOf(QLatin1String(language.file));
        const auto found = entries(CodePage::toUnicode(bytes));
        for (auto section = reference.cbegin(); section != reference.cend(); ++section) {
            for (const QString& key : section.value()) {
                EXPECT_TRUE(found.value(section.key()).contains(key))
                    << "[" << section.key().toStdString() << "] " << key.toStdString() << " is missing";
                // Looked up as the program does, in the file's own section, the text is there.
                EXPECT_FALSE(mControlUI::ReadLangKeyFromBytes(bytes, section.key(), key).isEmpty())
                    << "[" << section.key().toStdString() << "] " << key.toStdString() << " is empty";
            }
        }
    }
}

TEST(ShippedLanguages, NamesAreRightAndEveryEnglishNameIsUnique)
{
    QSet<QString> names;
    for (const ShippedLanguage& language : kShipped) {
        SCOPED_TRACE(language.file);
        CodePageScope scope(language.codePage);
        const QByteArray bytes = bytesOf(QLatin1String(language.file));
        const QString eng =
            mControlUI::ReadLangKeyFromBytes(bytes, QStringLiteral("UI"), QStringLiteral("ENG"));
        EXPECT_EQ(eng, QLatin1String(language.englishName));
        EXPECT_EQ(mControlUI::ReadLangKeyFromBytes(bytes, QStringLiteral("UI"), QStringLiteral("LOCAL")),
                  QString::fromUtf8(language.localName));
        EXPECT_FALSE(names.contains(eng)) << "two files claim " << eng.toStdString();
        names.insert(eng);
    }
}

TEST(ShippedLanguages, NoTextIsCutAtAComma)
{
    for (const ShippedLanguage& language : kShipped) {
        SCOPED_TRACE(language.file);
        CodePageScope scope(language.codePage);
        const QString text = CodePage::toUnicode(bytesOf(QLatin1String(language.file)));
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            if (line.contains(QStringLiteral(" = ")) && line.contains(QLatin1Char(','))) {
                EXPECT_TRUE(line.trimmed().startsWith(QLatin1Char('"')))
                    << "unquoted: " << line.toStdString();
            }
        }
    }
}

TEST(ShippedLanguages, KoreanReadsRightOnlyInItsOwnCodePage)
{
    const QByteArray bytes = bytesOf(QStringLiteral("korean.lng"));
    const QString local = QString::fromUtf8(kShipped[4].localName);
    {
        CodePageScope korean("CP949");
        EXPECT_EQ(mControlUI::ReadLangKeyFromBytes(bytes, QStringLiteral("OPTION"), QStringLiteral("Cancel")),
                  QString::fromUtf8("\xEC\xB7\xA8\xEC\x86\x8C")); // 취소
    }
    CodePageScope western("CP1252");
    EXPECT_NE(mControlUI::ReadLangKeyFromBytes(bytes, QStringLiteral("UI"), QStringLiteral("LOCAL")), local);
}
