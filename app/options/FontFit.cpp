// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/FontFit.h"

#include <QFontMetricsF>
#include <QImage>

#include <cmath>

namespace FontFit
{
namespace
{
// 96 dots per inch in the image's own unit: point sizes scale by the paint device's dpi.
constexpr int DotsPerMeterAt96Dpi = 3780;
} // namespace

double TextHeightAt96Dpi(const QFont& font, const QString& text)
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    device.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    const QFontMetricsF metrics(font, &device);
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    return metrics.height() * double(lines);
}

int FittedPointSize(const QFont& font, const QString& text, const HeightMeasure& measure)
{
    QFont probe = font;
    for (int size = SmallestSize; size <= LargestSize; ++size) {
        probe.setPointSize(size);
        if (std::lround(measure(probe, text)) > LcdHeight)
            return size == SmallestSize ? FallbackSize : size - 1;
    }
    return LargestSize;
}

QFont Fitted(QFont font, const QString& text, const HeightMeasure& measure)
{
    font.setPointSize(FittedPointSize(font, text, measure));
    return font;
}

} // namespace FontFit
