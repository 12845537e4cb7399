// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The MPEG header analysis on arbitrary file starts, with the real length and with a length
// taken from the input, so huge files and odd Xing and VBRI counts are covered; and on the input
// as a whole file, so the search behind a leading tag is covered.
#include "audio/MpegAnalysis.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView head(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const MpegInfo info = MpegAnalysis::analyse(
        head.first(qMin<qsizetype>(head.size(), MpegAnalysis::HeadSize)), static_cast<qint64>(size));
    if (info.bitRate < 0 || info.duration < 0)
        std::abort();
    // As a whole file: the search behind a leading tag reads a second window.
    const MpegInfo whole =
        MpegAnalysis::analyse(static_cast<qint64>(size), [&](qint64 offset, qint64 length) {
            if (offset < 0 || length < 0 || offset > head.size())
                std::abort(); // reads stay inside the file
            return head.sliced(offset, qMin<qint64>(length, head.size() - offset)).toByteArray();
        });
    if (whole.bitRate < 0 || whole.duration < 0)
        std::abort();
    if (size >= 8) {
        quint64 length = 0;
        std::memcpy(&length, data + size - 8, 8);
        const MpegInfo huge =
            MpegAnalysis::analyse(head.first(qMin<qsizetype>(head.size(), MpegAnalysis::HeadSize)),
                                  static_cast<qint64>(length >> 1));
        if (huge.bitRate < 0 || huge.duration < 0)
            std::abort();
    }
    return 0;
}
