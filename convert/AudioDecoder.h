// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Decodes the audio of a music file with FFmpeg into float samples at a rate and channel count
// an MP3 can hold: 44.1 and 48 kHz are kept, other rates become 44.1 kHz; mono stays mono and
// everything else becomes stereo.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class AudioDecoder
{
public:
    AudioDecoder();
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // Empty on success, else why the file cannot be decoded.
    QString open(const QString& path);

    int outputRate() const;
    int outputChannels() const;

    // Called with each piece of planar samples (right is null for mono); false stops with a
    // write error.
    using Sink = std::function<bool(const float* left, const float* right, int samples)>;

    // Decodes to the end. Empty on success; else why (a damaged stream, a failed sink).
    // cancelled is asked between packets; wasCancelled tells whether it stopped the run.
    QString run(const Sink& sink, const std::function<bool()>& cancelled, bool& wasCancelled);

    // The container's playing time in seconds, without decoding; 0 when unknown.
    static double probeDuration(const QString& path);

private:
    struct State;
    std::unique_ptr<State> m;
};
