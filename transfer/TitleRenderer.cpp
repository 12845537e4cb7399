// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/TitleRenderer.h"

#include "core/AppPaths.h"
#include "core/StagedFile.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace
{

// 96 dots per inch in the image's own unit; QPainter sizes point fonts by the device's dpi.
constexpr int DotsPerMeterAt96Dpi = 3780;

QFont lcdFont(const LcdTitleFont& font)
{
    QFont qfont(font.face);
    qfont.setPointSizeF(font.points > 0 ? font.points : 16.0);
    qfont.setBold(font.bold);
    qfont.setStyleStrategy(QFont::NoAntialias);
    return qfont;
}

} // namespace

RenderedTitle renderTitle(const QString& text, const LcdTitleFont& font)
{
    QImage image(TitleBlock::CanvasWidth, TitleBlock::CanvasHeight, QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    image.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    image.fill(Qt::white);

    RenderedTitle rendered;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(lcdFont(font));
        painter.setPen(Qt::black);
        const QFontMetricsF metrics(painter.font(), &image);
        rendered.width = int(std::nearbyint(metrics.horizontalAdvance(text)));
        painter.drawText(QPointF(0, metrics.ascent()), text);
    }

    const int width = image.width();
    const int height = image.height();
    rendered.canvas.width = width;
    rendered.canvas.height = height;
    rendered.canvas.bgr.reserve(std::size_t(width * height));
    for (int y = 0; y < height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            rendered.canvas.bgr.push_back(
                quint32(qBlue(line[x]) << 16 | qGreen(line[x]) << 8 | qRed(line[x])));
    }
    return rendered;
}

QByteArray MakeTitleBlock(const QString& text, qint16 value, const LcdTitleFont& font)
{
    const RenderedTitle rendered = renderTitle(text, font);
    return TitleBlock::pack(rendered.canvas, rendered.width, value);
}

bool writeTitleBlockFile(const QString& path, const QByteArray& block)
{
    // Staged under a name of ours, so a killed process leaves nothing a later start (or the next
    // write into this folder) does not remove; the folder's leftovers of killed processes go now.
    AppPaths::removeStaleTempFiles(QFileInfo(path).absolutePath());
    StagedFile file(path);
    return file.open(nullptr) && file.write(block) && file.commit(nullptr);
}

TitleBlockMaker titleBlockMaker(const LcdTitleFont& font)
{
    return [font](const QString& text, qint16 value) { return MakeTitleBlock(text, value, font); };
}
