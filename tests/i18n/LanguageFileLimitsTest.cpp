// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Language files named by the user or the settings: pipes and huge files are turned away with a
// reason, at once, by every way a language file is read.
#include "i18n/LangReader.h"
#include "i18n/MessageTexts.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Runs reads of the pipe at fifo; should one wait all the same, a writer opened from here lets it
// return, so the test fails instead of hanging.
template <class Read> auto withoutWaiting(const QString& fifo, Read read)
{
    auto result = std::async(std::launch::async, read);
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "a read waited on the pipe";
        const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    return result.get();
}

} // namespace

TEST(LanguageFileLimits, PipesAreRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("german.lng"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const bool anyRead = withoutWaiting(fifo, [&] {
        return mControlUI::CanOpenLanguageFile(fifo) ||
               mControlUI::ReadLangKey(fifo, QStringLiteral("UI"), QStringLiteral("Title")).has_value() ||
               mControlUI::ReadLangText(fifo, QStringLiteral("UI"), QStringLiteral("Title")).has_value() ||
               MessageTexts::load(fifo).has_value();
    });
    EXPECT_FALSE(anyRead);
    EXPECT_EQ(mControlUI::MissingLanguageFileText(fifo),
              QStringLiteral("Can't Find Language File.\r\n") + fifo +
                  QStringLiteral("\r\nThe file is a named pipe, not a regular file."));
}

TEST(LanguageFileLimits, FilesOverOneMegabyteAreRefusedAndSmallerOnesRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.lng"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray bytes = "[UI]\r\nTitle = Big\r\n";
    bytes += QByteArray(mControlUI::MaxLanguageFileBytes - bytes.size(), ' ');
    file.write(bytes);
    file.flush();
    EXPECT_EQ(mControlUI::ReadLangKey(path, QStringLiteral("UI"), QStringLiteral("Title")),
              QStringLiteral("Big"))
        << "exactly the limit is still a language file";
    file.write(" ");
    file.close();
    EXPECT_FALSE(mControlUI::CanOpenLanguageFile(path));
    EXPECT_FALSE(MessageTexts::load(path));
    EXPECT_TRUE(
        mControlUI::MissingLanguageFileText(path).endsWith(QLatin1String("larger than 1048576 bytes.")));
}

TEST(LanguageFileLimits, MissingKeysAreToldApartFromEmptyOnes)
{
    const QByteArrayView file("[Main]\r\nMemory = \r\n");
    EXPECT_EQ(mControlUI::FindLangKeyInBytes(file, QStringLiteral("Main"), QStringLiteral("Memory")),
              QString());
    EXPECT_FALSE(mControlUI::FindLangKeyInBytes(file, QStringLiteral("Main"), QStringLiteral("Connect")));
    EXPECT_FALSE(mControlUI::FindLangKeyInBytes(file, QStringLiteral("UI"), QStringLiteral("Memory")));
}
