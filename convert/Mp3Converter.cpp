// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/Mp3Converter.h"

#include "convert/AudioDecoder.h"
#include "convert/Mp3Tagging.h"
#include "convert/SourceTags.h"
#include "core/AppPaths.h"
#include "core/LocalPath.h"
#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <lame/lame.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace
{

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

Lame makeEncoder(int rate, int channels, const ConversionQuality& quality)
{
    Lame lame(lame_init());
    if (!lame)
        return lame;
    lame_set_in_samplerate(lame.get(), rate);
    // Kept as it is: LAME would otherwise pick a lower rate (MPEG-2) for the low VBR levels.
    lame_set_out_samplerate(lame.get(), rate);
    lame_set_num_channels(lame.get(), channels);
    lame_set_mode(lame.get(), channels == 1 ? MONO : JOINT_STEREO);
    lame_set_write_id3tag_automatic(lame.get(), 0); // our own writers tag the file
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (quality.constant) {
        lame_set_VBR(lame.get(), vbr_off);
        lame_set_brate(lame.get(), quality.kbps);
    } else {
        lame_set_VBR(lame.get(), vbr_default);
        lame_set_VBR_quality(lame.get(), float(quality.level));
    }
    if (lame_init_params(lame.get()) < 0)
        lame.reset();
    return lame;
}

// The MP3 under construction: a temporary file beside the target, removed unless committed.
class PartFile
{
public:
    ~PartFile()
    {
        if (!m_committed && !m_file.fileName().isEmpty()) {
            m_file.close();
            QFile::remove(m_file.fileName());
        }
    }

    bool create(const QString& target)
    {
        const QDir folder = QFileInfo(target).absoluteDir();
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_file.setFileName(
                folder.filePath(AppPaths::tempPrefix() + QStringLiteral("convert-%1.mp3").arg(attempt)));
            if (m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly))
                return true;
            if (m_file.exists())
                continue;
            break;
        }
        m_file.setFileName(QString());
        return false;
    }

    bool write(const unsigned char* bytes, qint64 count)
    {
        return count == 0 || m_file.write(reinterpret_cast<const char*>(bytes), count) == count;
    }

    QFile& file() { return m_file; }

    // Replaces the target in one step: a reader sees the old file or the complete new one.
    bool commit(const QString& target)
    {
        m_file.close();
        if (std::rename(LocalPath::encode(m_file.fileName()).constData(),
                        LocalPath::encode(target).constData()) != 0)
            return false;
        m_committed = true;
        return true;
    }

private:
    QFile m_file;
    bool m_committed = false;
};

ConversionResult failed(ConversionFailure failure, const QString& why)
{
    ConversionResult result;
    result.error = why;
    result.failure = failure;
    return result;
}

ConversionResult cancelledResult()
{
    ConversionResult result;
    result.cancelled = true;
    result.error = QStringLiteral("cancelled");
    result.failure = ConversionFailure::Cancelled;
    return result;
}

// Encodes everything the decoder delivers into the open part file, then writes LAME's
// Xing/Info frame over the first frame it reserved.
QString encodeInto(AudioDecoder& decoder, lame_global_flags* lame, PartFile& part, qint64 audioStart,
                   const Mp3Converter::CancelCheck& cancelled, bool& wasCancelled,
                   ConversionFailure& sinkFailure)
{
    std::vector<unsigned char> mp3;
    const QString writeError = QStringLiteral("cannot write the MP3: ");
    const auto encode = [&](const float* left, const float* right, int samples) -> bool {
        mp3.resize(std::size_t(samples) * 5 / 4 + 7200);
        const int made = lame_encode_buffer_ieee_float(lame, left, right ? right : left, samples, mp3.data(),
                                                       int(mp3.size()));
        if (made < 0) {
            sinkFailure = ConversionFailure::Encoder;
            return false;
        }
        if (!part.write(mp3.data(), made)) {
            sinkFailure = ConversionFailure::Write;
            return false;
        }
        return true;
    };
    QString why = decoder.run(encode, cancelled, wasCancelled);
    if (!why.isEmpty() || wasCancelled)
        return why;
    mp3.resize(7200);
    const int tail = lame_encode_flush(lame, mp3.data(), int(mp3.size()));
    sinkFailure = ConversionFailure::Write; // from here on, every failure is one of writing
    if (tail < 0 || !part.write(mp3.data(), tail))
        return writeError + part.file().errorString();
    unsigned char frame[2880];
    const std::size_t frameSize = lame_get_lametag_frame(lame, frame, sizeof frame);
    if (frameSize > 0 && frameSize <= sizeof frame) {
        if (!part.file().seek(audioStart) || !part.write(frame, qint64(frameSize)) ||
            !part.file().seek(part.file().size()))
            return writeError + part.file().errorString();
    }
    if (!part.file().flush())
        return writeError + part.file().errorString();
    return QString();
}

bool samePath(const QString& a, const QString& b)
{
    const QFileInfo first(a), second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

namespace Mp3Converter
{

ConversionResult convert(const QString& source, const QString& target, const ConversionQuality& quality,
                         const CancelCheck& cancelled)
{
    // A pipe or a device named like a music file would block the decoder or never end.
    if (const QString why = RegularFile::problem(source); !why.isEmpty())
        return failed(ConversionFailure::NotAFile, why);
    if (samePath(source, target))
        return failed(ConversionFailure::SameFile,
                      QStringLiteral("the MP3 would replace the file it is made from"));
    AudioDecoder decoder;
    if (const QString why = decoder.open(source); !why.isEmpty())
        return failed(ConversionFailure::Unreadable, why);
    Lame lame = makeEncoder(decoder.outputRate(), decoder.outputChannels(), quality);
    if (!lame)
        return failed(ConversionFailure::Encoder,
                      QStringLiteral("the MP3 encoder does not take %1 Hz, %2 channels at %3")
                          .arg(decoder.outputRate())
                          .arg(decoder.outputChannels())
                          .arg(quality.text()));
    const SourceTags tags = SourceTags::read(source);
    PartFile part;
    if (!part.create(target))
        return failed(ConversionFailure::Write,
                      QStringLiteral("cannot create a file in %1").arg(QFileInfo(target).absolutePath()));
    const QByteArray tag = Mp3Tagging::id3v2For(tags);
    if (part.file().write(tag) != tag.size())
        return failed(ConversionFailure::Write,
                      QStringLiteral("cannot write the MP3: ") + part.file().errorString());
    bool wasCancelled = false;
    // Past opening, a failure is the decoder's on damaged audio unless the encoding side reports one.
    ConversionFailure sinkFailure = ConversionFailure::Unreadable;
    const QString why =
        encodeInto(decoder, lame.get(), part, tag.size(), cancelled, wasCancelled, sinkFailure);
    if (wasCancelled)
        return cancelledResult();
    if (!why.isEmpty())
        return failed(sinkFailure, why);
    part.file().close();
    QString tagWhy;
    if (!Mp3Tagging::appendId3v1(part.file().fileName(), tags, tagWhy))
        return failed(ConversionFailure::Write,
                      QStringLiteral("cannot write the MP3's ID3v1 tag: ") + tagWhy);
    ConversionResult result;
    result.size = QFileInfo(part.file().fileName()).size();
    if (!part.commit(target))
        return failed(ConversionFailure::Write,
                      QStringLiteral("cannot rename the finished MP3 to %1").arg(target));
    result.ok = true;
    return result;
}

double duration(const QString& source)
{
    return AudioDecoder::probeDuration(source);
}

qint64 estimatedSize(const QString& source, const ConversionQuality& quality)
{
    // Tags and cover are not known without reading them; 64 KiB covers a usual cover.
    constexpr qint64 TagAllowance = 64 * 1024;
    return qint64(duration(source) * quality.expectedKbps() * 1000.0 / 8.0) + TagAllowance;
}

} // namespace Mp3Converter
