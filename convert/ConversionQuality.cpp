// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/ConversionQuality.h"

#include <array>

namespace
{

constexpr std::array<int, 4> ConstantRates{128, 192, 256, 320};

// Typical mean rates of LAME's VBR levels on music, V0 first (from LAME's own level table);
// a size estimate, corrected by each converted file.
constexpr std::array<int, 10> VbrMeanKbps{245, 225, 190, 175, 165, 130, 115, 100, 85, 65};

} // namespace

std::optional<ConversionQuality> ConversionQuality::parse(const QString& text)
{
    const QString word = text.trimmed().toUpper();
    bool ok = false;
    if (word.size() == 2 && word.startsWith(QLatin1Char('V'))) {
        const int level = word.mid(1).toInt(&ok);
        if (ok && level >= 0 && level <= 9)
            return ConversionQuality{false, level, 0};
        return std::nullopt;
    }
    if (word.startsWith(QLatin1String("CBR"))) {
        const int rate = word.mid(3).toInt(&ok);
        for (int allowed : ConstantRates) {
            if (ok && rate == allowed)
                return ConversionQuality{true, 0, rate};
        }
    }
    return std::nullopt;
}

QStringList ConversionQuality::choices()
{
    QStringList all;
    for (int level = 0; level <= 9; ++level)
        all.append(QStringLiteral("V%1").arg(level));
    for (int rate : ConstantRates)
        all.append(QStringLiteral("CBR%1").arg(rate));
    return all;
}

QString ConversionQuality::text() const
{
    return constant ? QStringLiteral("CBR%1").arg(kbps) : QStringLiteral("V%1").arg(level);
}

int ConversionQuality::expectedKbps() const
{
    return constant ? kbps : VbrMeanKbps[std::size_t(qBound(0, level, 9))];
}
