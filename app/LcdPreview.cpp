// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/LcdPreview.h"

#include "transfer/TitleBlock.h"

#include <QPainter>

namespace
{

constexpr QRgb kBackground = 0xFFB8C8A0; // unlit LCD
constexpr QRgb kInk = 0xFF1E2814;        // lit pixel

} // namespace

LcdPreview::LcdPreview(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    hide();
}

QImage LcdPreview::imageFromBlock(const QByteArray& block)
{
    if (block.size() != TitleBlock::Size)
        return QImage();
    QImage image(TitleBlock::CanvasWidth, TitleBlock::CanvasHeight, QImage::Format_RGB32);
    image.fill(kBackground);
    for (int band = 0; band < TitleBlock::BandCount; ++band) {
        for (int x = 0; x < TitleBlock::CanvasWidth; ++x) {
            const auto bits = static_cast<unsigned char>(block[band * TitleBlock::CanvasWidth + x]);
            for (int k = 0; k < 8; ++k) {
                if (bits & (1u << k))
                    image.setPixel(x, band * 8 + k, kInk);
            }
        }
    }
    return image;
}

void LcdPreview::showBlock(const QByteArray& block)
{
    m_image = imageFromBlock(block);
    setVisible(!m_image.isNull());
    update();
}

void LcdPreview::clear()
{
    m_image = QImage();
    hide();
}

QSize LcdPreview::sizeHint() const
{
    return QSize(TitleBlock::CanvasWidth + 4, TitleBlock::CanvasHeight + 4);
}

void LcdPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    if (m_image.isNull())
        return;
    // Whole pixels when there is room; scaled down (keeping the shape) when the pane is narrow.
    const QRect room = rect().adjusted(2, 2, -2, -2);
    QSize size = m_image.size();
    if (size.width() > room.width() || size.height() > room.height())
        size.scale(room.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(room.topLeft(), size), m_image);
}
