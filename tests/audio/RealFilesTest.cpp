// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// MP3 files made by lame and tagged by the usual tools, read back through zvdctl as a script would.
#include "AudioFixtures.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

bool run(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

// Two seconds of a 440 Hz stereo tone as raw 16-bit samples.
QByteArray tone()
{
    QByteArray samples;
    for (int i = 0; i < 2 * 44100; ++i) {
        const auto value = static_cast<qint16>(8000 * qSin(i * 440.0 * 2 * M_PI / 44100));
        for (int channel = 0; channel < 2; ++channel)
            samples.append(char(value & 0xFF)).append(char(value >> 8 & 0xFF));
    }
    return samples;
}

class RealFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty())
            GTEST_SKIP() << "lame is not installed";
        zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
        if (!QFile::exists(zvdctl))
            GTEST_SKIP() << "zvdctl is not built";
        raw = AudioFixtures::writeFile(dir.path(), QStringLiteral("tone.raw"), tone());
    }

    QString encode(const QString& name, const QStringList& rate)
    {
        const QString path = dir.filePath(name);
        const QStringList args = QStringList{QStringLiteral("--quiet"), QStringLiteral("-r"), QStringLiteral("-s"),
                                             QStringLiteral("44.1"), QStringLiteral("--bitwidth"), QStringLiteral("16"),
                                             QStringLiteral("--signed"), QStringLiteral("--little-endian"),
                                             QStringLiteral("-m"), QStringLiteral("j")} +
                                 rate + QStringList{raw, path};
        EXPECT_TRUE(run(QStringLiteral("lame"), args));
        return path;
    }

    // Tags a fresh CBR file with a tool; false (and a skip) when the tool is missing.
    QString tagged(const QString& tool, const QStringList& args)
    {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return QString();
        const QString path = encode(tool + QString::number(++counter) + QStringLiteral(".mp3"), {QStringLiteral("-b"), QStringLiteral("128")});
        EXPECT_TRUE(run(tool, args + QStringList{path})) << tool.toStdString();
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
    QString raw;
    int counter = 0;
};

} // namespace

TEST_F(RealFiles, ConstantBitRateFileReportsItsHeader)
{
    const QJsonObject mpeg = zvdctlJson(QStringLiteral("mpeg"), encode(QStringLiteral("cbr.mp3"), {QStringLiteral("-b"), QStringLiteral("128")}));
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(), 128);
    EXPECT_EQ(mpeg[QStringLiteral("sampleRate")].toInt(), 44100);
    EXPECT_EQ(mpeg[QStringLiteral("version")].toInt(), 1);
    EXPECT_EQ(mpeg[QStringLiteral("layer")].toInt(), 3);
    EXPECT_EQ(mpeg[QStringLiteral("channelMode")].toString(), QStringLiteral("joint stereo"));
    EXPECT_FALSE(mpeg[QStringLiteral("vbr")].toBool());
    EXPECT_EQ(mpeg[QStringLiteral("duration")].toInt(), 2);
    // lame writes no CRC and marks its output as original; flags come out as booleans.
    EXPECT_TRUE(mpeg[QStringLiteral("crc")].isBool());
    EXPECT_FALSE(mpeg[QStringLiteral("crc")].toBool());
    EXPECT_TRUE(mpeg[QStringLiteral("original")].toBool());
    EXPECT_FALSE(mpeg[QStringLiteral("copyright")].toBool());
}

TEST_F(RealFiles, VariableBitRateFileIsRecognisedByItsXingHeader)
{
    const QString path = encode(QStringLiteral("vbr.mp3"), {QStringLiteral("-V"), QStringLiteral("2")});
    const QJsonObject mpeg = zvdctlJson(QStringLiteral("mpeg"), path);
    EXPECT_TRUE(mpeg[QStringLiteral("vbr")].toBool());
    const int frames = mpeg[QStringLiteral("frameCount")].toInt();
    EXPECT_NEAR(frames, 2 * 44100 / 1152, 5);
    const double expected = QFile(path).size() * 44100.0 / frames / 1000 / 144;
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(), qRound(expected));
}

TEST_F(RealFiles, Id3v1TagFromId3v2Tool)
{
    const QString path = tagged(QStringLiteral("id3v2"), {QStringLiteral("-1"), QStringLiteral("-t"), QStringLiteral("Old Song"),
                                                          QStringLiteral("-a"), QStringLiteral("Old Band"), QStringLiteral("-g"), QStringLiteral("17")});
    if (path.isEmpty())
        GTEST_SKIP() << "id3v2 is not installed";
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject v1 = tags[QStringLiteral("id3v1")].toObject();
    EXPECT_TRUE(v1[QStringLiteral("present")].toBool());
    EXPECT_FALSE(tags[QStringLiteral("id3v2")].toObject()[QStringLiteral("present")].toBool());
    EXPECT_EQ(v1[QStringLiteral("title")].toString(), QStringLiteral("Old Song") + QString(22, QChar(0)));
    EXPECT_EQ(v1[QStringLiteral("genre")].toInt(), 17);
    EXPECT_EQ(v1[QStringLiteral("genreName")].toString(), QStringLiteral("Rock"));
    EXPECT_EQ(tags[QStringLiteral("columns")].toObject()[QStringLiteral("genre")].toString(), QStringLiteral("Rock"));
}

TEST_F(RealFiles, Id3v23Latin1TagFromEyeD3)
{
    const QString path = tagged(QStringLiteral("eyeD3"), {QStringLiteral("--quiet"), QStringLiteral("--to-v2.3"), QStringLiteral("--encoding"),
                                                          QStringLiteral("latin1"), QStringLiteral("-t"), QStringLiteral("Caf\u00E9"),
                                                          QStringLiteral("-a"), QStringLiteral("B\u00E4nd"), QStringLiteral("-G"), QStringLiteral("Rock")});
    if (path.isEmpty())
        GTEST_SKIP() << "eyeD3 is not installed";
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
    const QString path = tagged(QStringLiteral("eyeD3"), {QStringLiteral("--quiet"), QStringLiteral("--to-v2.3"), QStringLiteral("--encoding"),
                                                          QStringLiteral("utf16"), QStringLiteral("-t"), title, QStringLiteral("-a"),
                                                          QStringLiteral("Band"), QStringLiteral("-c"), QStringLiteral("Nice one")});
    if (path.isEmpty())
        GTEST_SKIP() << "eyeD3 is not installed";
    const QJsonObject v2 = zvdctlJson(QStringLiteral("tags"), path)[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("title")].toString(), title);
    EXPECT_EQ(v2[QStringLiteral("artist")].toString(), QStringLiteral("Band"));
    EXPECT_EQ(v2[QStringLiteral("comment")].toString(), QStringLiteral("Nice one"));
}

TEST_F(RealFiles, Id3v24Utf8TagFromMid3v2)
{
    const QString title = QStringLiteral("\u00DCn\u00EF \u263A");
    const QString path = tagged(QStringLiteral("mid3v2"), {QStringLiteral("-t"), title, QStringLiteral("-a"), QStringLiteral("B\u00E4nd"),
                                                           QStringLiteral("-g"), QStringLiteral("(17)")});
    if (path.isEmpty())
        GTEST_SKIP() << "mid3v2 is not installed";
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject v2 = tags[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("version")].toInt(), 4);
    EXPECT_EQ(v2[QStringLiteral("title")].toString(), title);
    EXPECT_EQ(v2[QStringLiteral("artist")].toString(), QStringLiteral("B\u00E4nd"));
    EXPECT_EQ(tags[QStringLiteral("columns")].toObject()[QStringLiteral("genre")].toString(), QStringLiteral("Rock"));
}

TEST_F(RealFiles, ZvdctlPrintsNulAsAnEscapeAndFailsOnMissingFiles)
{
    const QString path = AudioFixtures::writeFile(dir.path(), QStringLiteral("v1.mp3"),
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
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    for (int i = 0; i < 20000; ++i)
        png.append(char(i * 131 % 251)); // sizes above 127 differ between plain and syncsafe
    const QString image = AudioFixtures::writeFile(dir.path(), QStringLiteral("cover.png"), png);
    const QString path = tagged(QStringLiteral("eyeD3"), {QStringLiteral("--quiet"), QStringLiteral("--to-v2.4"), QStringLiteral("--add-image"),
                                                          image + QStringLiteral(":FRONT_COVER"), QStringLiteral("-t"),
                                                          QStringLiteral("With Picture"), QStringLiteral("-a"), QStringLiteral("Band")});
    if (path.isEmpty())
        GTEST_SKIP() << "eyeD3 is not installed";
    const QJsonObject tags = zvdctlJson(QStringLiteral("tags"), path);
    const QJsonObject columns = tags[QStringLiteral("columns")].toObject();
    EXPECT_EQ(columns[QStringLiteral("title")].toString(), QStringLiteral("With Picture"));
    EXPECT_EQ(columns[QStringLiteral("artist")].toString(), QStringLiteral("Band"));
    EXPECT_EQ(tags[QStringLiteral("id3v2")].toObject()[QStringLiteral("title")].toString(), QStringLiteral("With Picture"));
}

TEST_F(RealFiles, VariableBitRateFileWithACoverPictureKeepsItsAverageBitRate)
{
    if (QStandardPaths::findExecutable(QStringLiteral("eyeD3")).isEmpty())
        GTEST_SKIP() << "eyeD3 is not installed";
    QByteArray cover("\x89PNG\r\n\x1a\n", 8);
    for (int i = 0; i < 30 * 1024; ++i)
        cover.append(char(i * 131 % 251));
    const QString image = AudioFixtures::writeFile(dir.path(), QStringLiteral("cover.png"), cover);
    const QString path = encode(QStringLiteral("vbr-cover.mp3"), {QStringLiteral("-V"), QStringLiteral("2")});
    const QJsonObject before = zvdctlJson(QStringLiteral("mpeg"), path);
    ASSERT_TRUE(run(QStringLiteral("eyeD3"), {QStringLiteral("--quiet"), QStringLiteral("--add-image"),
                                              image + QStringLiteral(":FRONT_COVER"), path}));
    ASSERT_GT(QFile(path).size(), 30 * 1024) << "the picture went into the file";
    const QJsonObject mpeg = zvdctlJson(QStringLiteral("mpeg"), path);
    EXPECT_TRUE(mpeg[QStringLiteral("vbr")].toBool());
    EXPECT_EQ(mpeg[QStringLiteral("frameCount")].toInt(), before[QStringLiteral("frameCount")].toInt());
    const double expected = QFile(path).size() * 44100.0 / mpeg[QStringLiteral("frameCount")].toInt() / 1000 / 144;
    EXPECT_GT(mpeg[QStringLiteral("bitRate")].toInt(), 0);
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(), qRound(expected));
    EXPECT_EQ(mpeg[QStringLiteral("layer")].toInt(), 3);
}
