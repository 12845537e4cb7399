// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The MP3 quality a conversion encodes at: a LAME VBR level V0 (best) to V9, or a constant bit
// rate of 128, 192, 256 or 320 kbit/s. V2 unless the user chose otherwise.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct ConversionQuality {
    bool constant = false; // CBR when true, else VBR
    int level = 2;         // VBR level 0..9
    int kbps = 0;          // CBR bit rate

    // "V0".."V9", "CBR128", "CBR192", "CBR256", "CBR320" (any letter case); nothing otherwise.
    static std::optional<ConversionQuality> parse(const QString& text);
    // Every accepted text, best VBR first, then the constant rates.
    static QStringList choices();

    QString text() const;
    // The mean bit rate to expect (kbit/s), for estimating a converted file's size.
    int expectedKbps() const;

    bool operator==(const ConversionQuality&) const = default;
};
