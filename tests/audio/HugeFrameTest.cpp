// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A tag with frames of tens of megabytes: zvdctl reads it within bounded memory (its peak
// measured by the kernel for that child alone) and shows the first 4096 characters of a text.
#include "AudioFixtures.h"
#include "TestEnvironment.h"
#include "audio/TagColumns.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

using namespace AudioFixtures;

namespace
{

constexpr qint64 MiB = 1024 * 1024;

// AddressSanitizer's shadow memory and quarantine of freed blocks make resident sizes
// meaningless; under it only what zvdctl prints is checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr long PeakLimitKiB = 0;
#else
constexpr long PeakLimitKiB = 64 * 1024;
#endif

void expectPeakWithinLimit(long peakKiB)
{
    if (PeakLimitKiB > 0) {
        EXPECT_LT(peakKiB, PeakLimitKiB) << "peak resident memory in KiB";
    }
}

void writeRepeated(QFile& file, char byte, qint64 count)
{
    const QByteArray piece(MiB, byte);
    for (qint64 left = count; left > 0; left -= piece.size())
        ASSERT_EQ(file.write(piece.constData(), qMin<qint64>(left, piece.size())),
                  qMin<qint64>(left, piece.size()));
}

// A frame header of a version 2.3 tag for data of the given size.
QByteArray frameHeaderFor(const char* id, quint32 size)
{
    QByteArray header(id, 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        header.append(char(size >> shift & 0xFF));
    return header + QByteArray(2, '\0');
}

// Runs program with args, its output into outputPath; the child's peak resident memory in KiB.
long peakKilobytes(const QString& program, const QStringList& args, const QString& outputPath, int& status)
{
    QList<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& arg : args)
        storage.append(QFile::encodeName(arg));
    std::vector<char*> argv;
    for (QByteArray& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = QFile::encodeName(outputPath);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    struct rusage usage {
    };
    if (wait4(pid, &status, 0, &usage) != pid)
        return -1;
    return usage.ru_maxrss; // KiB on Linux
}

class HugeFrames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
        if (!QFile::exists(zvdctl))
            GTEST_SKIP() << "zvdctl is not built";
        // A 50 MB title, a 20 MB picture, then the artist.
        QFile file(dir.filePath(QStringLiteral("huge.mp3")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const qint64 title = 50 * MiB, picture = 20 * MiB;
        const QByteArray artist = frameHeaderFor("TPE1", 5) + QByteArray("\0Band", 5);
        const qint64 body = 10 + title + 10 + picture + artist.size() + 100;
        file.write(id3v2(3, syncsafe(quint32(body)), QByteArray()));
        file.write(frameHeaderFor("TIT2", quint32(title)) + QByteArray(1, '\0'));
        writeRepeated(file, 'T', title - 1);
        file.write(frameHeaderFor("APIC", quint32(picture)) + QByteArray("\0image/png\0\x03\0", 13));
        writeRepeated(file, char(0x89), picture - 13);
        file.write(artist + QByteArray(100, '\0') + audioFrame());
        path = file.fileName();
    }

    QTemporaryDir dir;
    QString zvdctl;
    QString path;
};

} // namespace

TEST_F(HugeFrames, ZvdctlTagsStaysUnder64MegabytesAndShowsTheFirst4096Characters)
{
    int status = 0;
    const QString output = dir.filePath(QStringLiteral("tags.json"));
    const long peak = peakKilobytes(zvdctl, {QStringLiteral("tags"), path}, output, status);
    ASSERT_GT(peak, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expectPeakWithinLimit(peak);
    const QJsonObject tags = QJsonDocument::fromJson(readFile(output)).object();
    const QJsonObject columns = tags[QStringLiteral("columns")].toObject();
    EXPECT_EQ(columns[QStringLiteral("title")].toString(), QString(ShownTextLimit, QLatin1Char('T')));
    EXPECT_EQ(columns[QStringLiteral("artist")].toString(), QStringLiteral("Band"));
    const QJsonObject v2 = tags[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("title")].toString().size(), ShownTextLimit);
    EXPECT_EQ(v2[QStringLiteral("artist")].toString(), QStringLiteral("Band"));
}

TEST_F(HugeFrames, ScanAndTheListShowTheFirst4096Characters)
{
    int status = 0;
    const QString output = dir.filePath(QStringLiteral("scan.txt"));
    const long peak = peakKilobytes(
        zvdctl, {QStringLiteral("scan"), QStringLiteral("--view"), QStringLiteral("audio"), dir.path()},
        output, status);
    ASSERT_GT(peak, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expectPeakWithinLimit(peak);
    const QList<QByteArray> fields = readFile(output).trimmed().split('\t');
    ASSERT_GE(fields.size(), 4);
    EXPECT_EQ(fields[2], QByteArray(ShownTextLimit, 'T'));
    EXPECT_EQ(fields[3], QByteArray("Band"));
    EXPECT_EQ(readTagColumns(path).title.size(), ShownTextLimit);
}

TEST(ShownText, CutsAtTheLimitWithoutSplittingASurrogatePair)
{
    EXPECT_EQ(shownText(QStringLiteral("short")), QStringLiteral("short"));
    const QString smiles =
        QString(ShownTextLimit - 1, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F600\U0001F600");
    EXPECT_EQ(shownText(smiles), QString(ShownTextLimit - 1, QLatin1Char('x')));
    EXPECT_EQ(shownText(QString(ShownTextLimit + 10, QLatin1Char('y'))).size(), ShownTextLimit);
}

#endif
