// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// MP3 files made by lame and tagged by the usual tools, read back through zvdctl as a script would.
// The files were made once and committed (tests/audio/fixtures), so these tests never depend on the tools.
#include "AudioFixtures.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

bool run(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

class RealFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
        ASSERT_TRUE(QFile::exists(zvdctl)) << "zvdctl is not built";
    }

    // A committed file made once by lame and a tagging tool (tests/audio/fixtures/make-fixtures.sh).
    static QString fixture(const QString& name)
    {
        const QString path =
            QDir(TestEnvironment::sourceDir()).filePath(QStringLiteral("tests/audio/fixtures/") + name);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        return path;
    }

    QJsonObject zvdctlJson(const QString& command, const QString& path)
    {
        QByteArray output;
        EXPECT_TRUE(run(zvdctl, {command, path}, &output));
        return QJsonDocument::fromJson(output).object();
    }

    QTemporaryDir dir;
    QString zvdctl;
};

} // namespace

TEST_F(RealFiles, ConstantBitRateFileReportsItsHeader)
{
    const QJsonObject mpeg = zvdctlJson(QStringLiteral("mpeg"), fixture(QStringLiteral("cbr.mp3")));
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(), 32);
    EXPECT_EQ(mpeg[QStringLiteral("sampleRate")].toInt(), 44100);
    EXPECT_EQ(mpeg[QStringLiteral("version")].toInt(), 1);
    EXPECT_EQ(mpeg[QStringLiteral("layer")].toInt(), 3);
    EXPECT_EQ(mpeg[QStringLiteral("channelMode")].toString(), QStringLiteral("joint stereo"));
    EXPECT_FALSE(mpeg[QStringLiteral("vbr")].toBool());
    EXPECT_EQ(mpeg[QStringLiteral("duration")].toInt(), 1);
    // lame writes no CRC and marks its output as original; flags come out as booleans.
    EXPECT_TRUE(mpeg[QStringLiteral("crc")].isBool());
    EXPECT_FALSE(mpeg[QStringLiteral("crc")].toBool());
    EXPECT_TRUE(mpeg[QStringLiteral("original")].toBool());
    EXPECT_FALSE(mpeg[QStringLiteral("copyright")].toBool());
}

TEST_F(RealFiles, VariableBitRateFileIsRecognisedByItsXingHeader)
{
    const QString path = fixture(QStringLiteral("vbr.mp3"));
    const QJsonObject mpeg = zvdctlJson(QStringLiteral("mpeg"), path);
    EXPECT_TRUE(mpeg[QStringLiteral("vbr")].toBool());
    const int frames = mpeg[QStringLiteral("frameCount")].toInt();
    EXPECT_NEAR(frames, 44100 / 1152, 5);
    const double expected = QFile(path).size() * 44100.0 / frames / 1000 / 144;
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(), qRound(expected));
}

TEST_F(RealFiles, Id3v1TagFromId3v2Tool)
{
    const QString path = fixture(QStringLiteral("id3v2-v1.mp3"));
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject v1 = tags[QStringLiteral("id3v1")].toObject();
    EXPECT_TRUE(v1[QStringLiteral("present")].toBool());
    EXPECT_FALSE(tags[QStringLiteral("id3v2")].toObject()[QStringLiteral("present")].toBool());
    EXPECT_EQ(v1[QStringLiteral("title")].toString(), QStringLiteral("Old Song") + QString(22, QChar(0)));
    EXPECT_EQ(v1[QStringLiteral("genre")].toInt(), 17);
    EXPECT_EQ(v1[QStringLiteral("genreName")].toString(), QStringLiteral("Rock"));
    EXPECT_EQ(tags[QStringLiteral("columns")].toObject()[QStringLiteral("genre")].toString(),
              QStringLiteral("Rock"));
}

TEST_F(RealFiles, Id3v23Latin1TagFromEyeD3)
{
    const QString path = fixture(QStringLiteral("eyed3-v23-latin1.mp3"));
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject v2 = tags[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("version")].toInt(), 3);
    EXPECT_EQ(v2[QStringLiteral("title")].toString(), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(v2[QStringLiteral("artist")].toString(), QStringLiteral("B\u00E4nd"));
    const QJsonObject columns = tags[QStringLiteral("columns")].toObject();
    EXPECT_EQ(columns[QStringLiteral("title")].toString(), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(columns[QStringLiteral("genre")].toString(), QStringLiteral("Rock"));
}

TEST_F(RealFiles, Id3v23Utf16TagFromEyeD3)
{
    const QString title = QStringLiteral("\u00DCn\u00EF \u263A");
    const QString path = fixture(QStringLiteral("eyed3-v23-utf16.mp3"));
    const QJsonObject v2 = zvdctlJson(QStringLiteral("tags"), path)[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("title")].toString(), title);
    EXPECT_EQ(v2[QStringLiteral("artist")].toString(), QStringLiteral("Band"));
    EXPECT_EQ(v2[QStringLiteral("comment")].toString(), QStringLiteral("Nice one"));
}

TEST_F(RealFiles, Id3v24Utf8TagFromMid3v2)
{
    const QString title = QStringLiteral("\u00DCn\u00EF \u263A");
    const QString path = fixture(QStringLiteral("mid3v2-v24-utf8.mp3"));
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject v2 = tags[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("version")].toInt(), 4);
    EXPECT_EQ(v2[QStringLiteral("title")].toString(), title);
    EXPECT_EQ(v2[QStringLiteral("artist")].toString(), QStringLiteral("B\u00E4nd"));
    EXPECT_EQ(tags[QStringLiteral("columns")].toObject()[QStringLiteral("genre")].toString(),
              QStringLiteral("Rock"));
}

TEST_F(RealFiles, ZvdctlPrintsNulAsAnEscapeAndFailsOnMissingFiles)
{
    const QString path =
        AudioFixtures::writeFile(dir.path(), QStringLiteral("v1.mp3"),
                                 AudioFixtures::audioFrame() + AudioFixtures::id3v1("A", "B", 0));
    QByteArray output;
    ASSERT_TRUE(run(zvdctl, {QStringLiteral("tags"), path}, &output));
    EXPECT_TRUE(output.contains("A\\u0000\\u0000"));
    EXPECT_FALSE(run(zvdctl, {QStringLiteral("tags"), dir.filePath(QStringLiteral("missing.mp3"))}));
    ASSERT_TRUE(run(zvdctl, {QStringLiteral("genre"), QStringLiteral("147")}, &output));
    EXPECT_EQ(output, QByteArray("Synth Pop\n"));
    EXPECT_FALSE(run(zvdctl, {QStringLiteral("genre"), QStringLiteral("256")}));
}

TEST_F(RealFiles, Id3v24PictureBeforeTheTextFramesIsSkippedBySize)
{
    // A picture of 2000 bytes comes first: its frame size differs between plain and syncsafe coding.
    const QString path = fixture(QStringLiteral("eyed3-v24-picture.mp3"));
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject columns = tags[QStringLiteral("columns")].toObject();
    EXPECT_EQ(columns[QStringLiteral("title")].toString(), QStringLiteral("With Picture"));
    EXPECT_EQ(columns[QStringLiteral("artist")].toString(), QStringLiteral("Band"));
    EXPECT_EQ(tags[QStringLiteral("id3v2")].toObject()[QStringLiteral("title")].toString(),
              QStringLiteral("With Picture"));
}

TEST_F(RealFiles, VariableBitRateFileWithACoverPictureKeepsItsAverageBitRate)
{
    if (QStandardPaths::findExecutable(QStringLiteral("eyeD3")).isEmpty())
        GTEST_SKIP() << "eyeD3 is not installed";
    QByteArray cover("\x89PNG\r\n\x1a\n", 8);
    for (int i = 0; i < 30 * 1024; ++i)
        cover.append(char(i * 131 % 251));
    const QString image = AudioFixtures::writeFile(dir.path(), QStringLiteral("cover.png"), cover);
    const QString path = dir.filePath(QStringLiteral("vbr-cover.mp3"));
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("vbr.mp3")), path));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const QJsonObject before = zvdctlJson(QStringLiteral("mpeg"), path);
    ASSERT_TRUE(run(QStringLiteral("eyeD3"), {QStringLiteral("--quiet"), QStringLiteral("--add-image"),
                                              image + QStringLiteral(":FRONT_COVER"), path}));
    ASSERT_GT(QFile(path).size(), 30 * 1024) << "the picture went into the file";
    const QJsonObject mpeg = zvdctlJson(QStringLiteral("mpeg"), path);
    EXPECT_TRUE(mpeg[QStringLiteral("vbr")].toBool());
    EXPECT_EQ(mpeg[QStringLiteral("frameCount")].toInt(), before[QStringLiteral("frameCount")].toInt());
    const double expected =
        QFile(path).size() * 44100.0 / mpeg[QStringLiteral("frameCount")].toInt() / 1000 / 144;
    EXPECT_GT(mpeg[QStringLiteral("bitRate")].toInt(), 0);
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(), qRound(expected));
    EXPECT_EQ(mpeg[QStringLiteral("layer")].toInt(), 3);
}
