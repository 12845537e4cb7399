// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The font preview of the options dialog: the sample text in the LCD title font, drawn at 96 dpi
// without smoothing as the player's title renderer draws it, with the LCD's 24-pixel height marked.
#pragma once

#include <QFont>
#include <QImage>
#include <QWidget>

class FontPreview : public QWidget
{
    Q_OBJECT
public:
    explicit FontPreview(QWidget* parent = nullptr);

    // The preview's font object: OK hands it to the main window as the new LCD title font.
    const QFont& previewFont() const { return m_font; }
    void setPreviewFont(const QFont& font);

    // Clears the preview, then prints text at the top-left corner in the preview's font.
    void print(const QString& text);
    void clear();
    const QString& printedText() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();

    QFont m_font;
    QString m_text;
    QImage m_image;
};
