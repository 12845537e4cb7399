// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/AudioDecoder.h"

#include "core/LocalPath.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <mutex>
#include <vector>

namespace
{

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// FFmpeg writes its own diagnostics to stderr; ours name the file instead.
void quietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// Encrypted streams (DRM) announce themselves in the container; they decode to noise or not at all.
bool isEncrypted(const AVStream* stream)
{
    const AVCodecParameters* parameters = stream->codecpar;
    const uint32_t tag = parameters->codec_tag;
    const auto fourcc = [](char a, char b, char c, char d) {
        return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
               uint32_t(uint8_t(d)) << 24;
    };
    if (tag == fourcc('d', 'r', 'm', 's') || tag == fourcc('e', 'n', 'c', 'a'))
        return true;
#if LIBAVFORMAT_VERSION_MAJOR < 61
    return av_stream_get_side_data(stream, AV_PKT_DATA_ENCRYPTION_INIT_INFO, nullptr) != nullptr;
#else
    return av_packet_side_data_get(parameters->coded_side_data, parameters->nb_coded_side_data,
                                   AV_PKT_DATA_ENCRYPTION_INIT_INFO) != nullptr;
#endif
}

QString positionText(double seconds)
{
    const int whole = int(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

struct AudioDecoder::State {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    int outRate = 44100;
    int outChannels = 2;
    double expectedSeconds = 0; // from the container; 0 when it does not say
    qint64 decodedSamples = 0;  // at the source's rate
    std::vector<float> left, right;

    ~State()
    {
        swr_free(&resampler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    QString openStream();
    QString openResampler();
    QString convertAndSend(const uint8_t** data, int samples, const Sink& sink);
    QString drain(const Sink& sink);
};

QString AudioDecoder::State::openStream()
{
    const AVCodec* decoder = nullptr;
    const int found = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (found == AVERROR_DECODER_NOT_FOUND)
        return QStringLiteral("its audio is in a format this program cannot decode");
    if (found < 0 || !decoder)
        return QStringLiteral("it holds no audio");
    stream = found;
    AVStream* audio = format->streams[stream];
    if (isEncrypted(audio))
        return QStringLiteral("it is protected by DRM (copy protection) and cannot be converted");
    codec = avcodec_alloc_context3(decoder);
    if (!codec || avcodec_parameters_to_context(codec, audio->codecpar) < 0 ||
        avcodec_open2(codec, decoder, nullptr) < 0)
        return QStringLiteral("its audio (%1) cannot be decoded").arg(QString::fromUtf8(decoder->name));
    if (codec->sample_rate <= 0 || codec->ch_layout.nb_channels <= 0)
        return QStringLiteral("its audio stream names no sample rate or channels: damaged");
    if (audio->duration != AV_NOPTS_VALUE && audio->duration > 0)
        expectedSeconds = double(audio->duration) * av_q2d(audio->time_base);
    else if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        expectedSeconds = double(format->duration) / AV_TIME_BASE;
    outRate = (codec->sample_rate == 44100 || codec->sample_rate == 48000) ? codec->sample_rate : 44100;
    outChannels = codec->ch_layout.nb_channels == 1 ? 1 : 2;
    return openResampler();
}

QString AudioDecoder::State::openResampler()
{
    AVChannelLayout in{};
    if (codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&in, codec->ch_layout.nb_channels);
    else if (av_channel_layout_copy(&in, &codec->ch_layout) < 0)
        return QStringLiteral("out of memory");
    AVChannelLayout out{};
    av_channel_layout_default(&out, outChannels);
    const int made = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_FLTP, outRate, &in,
                                         codec->sample_fmt, codec->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    if (made < 0 || swr_init(resampler) < 0)
        return QStringLiteral("its samples (%1 Hz, %2 channels) cannot be converted")
            .arg(codec->sample_rate)
            .arg(codec->ch_layout.nb_channels);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    return packet && frame ? QString() : QStringLiteral("out of memory");
}

QString AudioDecoder::State::convertAndSend(const uint8_t** data, int samples, const Sink& sink)
{
    const int room = swr_get_out_samples(resampler, samples);
    if (room < 0)
        return QStringLiteral("resampling failed");
    left.resize(std::size_t(room) + 1);
    right.resize(std::size_t(room) + 1);
    uint8_t* planes[2] = {reinterpret_cast<uint8_t*>(left.data()), reinterpret_cast<uint8_t*>(right.data())};
    const int made = swr_convert(resampler, planes, room, data, samples);
    if (made < 0)
        return QStringLiteral("resampling failed: ") + errorText(made);
    if (made > 0 && !sink(left.data(), outChannels == 2 ? right.data() : nullptr, made))
        return QStringLiteral("cannot write the MP3 (is the disk full?)");
    return QString();
}

// Takes every frame the decoder has ready.
QString AudioDecoder::State::drain(const Sink& sink)
{
    for (;;) {
        const int got = avcodec_receive_frame(codec, frame);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return QString();
        if (got < 0)
            return QStringLiteral("damaged: decoding failed at %1 (%2)")
                .arg(positionText(double(decodedSamples) / codec->sample_rate), errorText(got));
        decodedSamples += frame->nb_samples;
        const QString why =
            convertAndSend(const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples, sink);
        av_frame_unref(frame);
        if (!why.isEmpty())
            return why;
    }
}

AudioDecoder::AudioDecoder() : m(std::make_unique<State>()) {}

AudioDecoder::~AudioDecoder() = default;

QString AudioDecoder::open(const QString& path)
{
    quietLibraries();
    m = std::make_unique<State>();
    const QByteArray native = LocalPath::encode(path);
    if (const int opened = avformat_open_input(&m->format, native.constData(), nullptr, nullptr); opened < 0)
        return opened == AVERROR(ENOENT) || opened == AVERROR(EACCES)
                   ? QStringLiteral("cannot be opened: ") + errorText(opened)
                   : QStringLiteral("not a music file of a known format, or damaged (%1)")
                         .arg(errorText(opened));
    if (avformat_find_stream_info(m->format, nullptr) < 0)
        return QStringLiteral("damaged: its streams cannot be read");
    return m->openStream();
}

int AudioDecoder::outputRate() const
{
    return m->outRate;
}

int AudioDecoder::outputChannels() const
{
    return m->outChannels;
}

QString AudioDecoder::run(const Sink& sink, const std::function<bool()>& cancelled, bool& wasCancelled)
{
    wasCancelled = false;
    if (!m->codec)
        return QStringLiteral("not opened");
    for (;;) {
        if (cancelled && cancelled()) {
            wasCancelled = true;
            return QString();
        }
        const int read = av_read_frame(m->format, m->packet);
        if (read == AVERROR_EOF)
            break;
        if (read < 0)
            return QStringLiteral("cannot be read to its end: ") + errorText(read);
        if (m->packet->stream_index != m->stream) {
            av_packet_unref(m->packet);
            continue;
        }
        const int sent = avcodec_send_packet(m->codec, m->packet);
        av_packet_unref(m->packet);
        if (sent < 0 && sent != AVERROR(EAGAIN))
            return QStringLiteral("damaged: decoding failed at %1 (%2)")
                .arg(positionText(double(m->decodedSamples) / m->codec->sample_rate), errorText(sent));
        if (const QString why = m->drain(sink); !why.isEmpty())
            return why;
    }
    avcodec_send_packet(m->codec, nullptr);
    if (const QString why = m->drain(sink); !why.isEmpty())
        return why;
    if (const QString why = m->convertAndSend(nullptr, 0, sink); !why.isEmpty())
        return why;
    // A file cut short decodes "successfully" up to the cut; its container still knows the length.
    const double decoded = double(m->decodedSamples) / m->codec->sample_rate;
    if (m->expectedSeconds > 2.0 && decoded < m->expectedSeconds * 0.9 && decoded < m->expectedSeconds - 1.0)
        return QStringLiteral("damaged or incomplete: it ends at %1 of %2")
            .arg(positionText(decoded), positionText(m->expectedSeconds));
    if (m->decodedSamples == 0)
        return QStringLiteral("damaged: it holds no decodable audio");
    return QString();
}

double AudioDecoder::probeDuration(const QString& path)
{
    quietLibraries();
    AVFormatContext* format = nullptr;
    const QByteArray native = LocalPath::encode(path);
    if (avformat_open_input(&format, native.constData(), nullptr, nullptr) < 0)
        return 0;
    double seconds = 0;
    // Most containers say their length in the header; the others need their streams probed.
    if (format->duration == AV_NOPTS_VALUE && avformat_find_stream_info(format, nullptr) < 0)
        format->duration = AV_NOPTS_VALUE;
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        seconds = double(format->duration) / AV_TIME_BASE;
    avformat_close_input(&format);
    return seconds;
}
