// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/FontPreview.h"

#include "app/options/FontFit.h"

#include <QFontMetricsF>
#include <QPainter>

namespace
{
constexpr int DotsPerMeterAt96Dpi = 3780;
// Below the LCD's last row the picture is tinted: what lies there never reaches the player.
const QColor kBeyondLcd(0xE4, 0xE4, 0xE4);
const QColor kLcdEdge(0xB0, 0xB0, 0xB0);
} // namespace

FontPreview::FontPreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FontPreview::setPreviewFont(const QFont& font)
{
    m_font = font;
    render();
}

void FontPreview::print(const QString& text)
{
    m_text = text;
    render();
}

void FontPreview::clear()
{
    print(QString());
}

QSize FontPreview::sizeHint() const
{
    return QSize(280, FontFit::LcdHeight + 12);
}

void FontPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    render();
}

void FontPreview::render()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    m_image = QImage(size, QImage::Format_RGB32);
    m_image.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    m_image.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    m_image.fill(Qt::white);
    QPainter painter(&m_image);
    if (size.height() > FontFit::LcdHeight) {
        painter.fillRect(QRect(0, FontFit::LcdHeight, size.width(), size.height() - FontFit::LcdHeight),
                         kBeyondLcd);
        painter.setPen(QPen(kLcdEdge, 1, Qt::DotLine));
        painter.drawLine(0, FontFit::LcdHeight, size.width(), FontFit::LcdHeight);
    }
    // The player's title renderer draws without smoothing; so does its preview.
    QFont drawn = m_font;
    drawn.setStyleStrategy(QFont::NoAntialias);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(drawn);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(drawn, &m_image);
    painter.drawText(QPointF(0, metrics.ascent()), m_text);
    painter.end();
    update();
}

void FontPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}
