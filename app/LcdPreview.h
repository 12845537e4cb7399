// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Shows what the player's LCD will show for a music file: the 512 x 24 picture decoded from
// the very bytes of its title block, so the preview cannot differ from what is sent.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

class LcdPreview : public QWidget
{
    Q_OBJECT
public:
    explicit LcdPreview(QWidget* parent = nullptr);

    // The picture of a 1546-byte block: lit pixels dark on the LCD's pale green. A block of
    // any other size gives a null image.
    static QImage imageFromBlock(const QByteArray& block);

    void showBlock(const QByteArray& block);
    void clear();
    const QImage& image() const { return m_image; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
