// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/ToolbarIcons.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <gtest/gtest.h>

namespace
{

// The most saturated visible colour of a picture (0 grey .. 255 vivid).
int mostSaturated(const QImage& image)
{
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() > 64)
                most = std::max(most, colour.hsvSaturation());
        }
    }
    return most;
}

// An enabled button shows colour, a disabled one grey: the two never look alike.
TEST(ToolbarIcons, EnabledButtonsAreInColourAndDisabledOnesGrey)
{
    for (const char* key : {"Download", "Upload", "Delete", "Format"}) {
        const QIcon icon = ToolbarIcons::icon(QLatin1String(key), QApplication::style());
        ASSERT_FALSE(icon.isNull()) << key;
        for (int size : {16, 24, 32}) {
            const QImage normal = icon.pixmap(size, QIcon::Normal).toImage();
            const QImage disabled = icon.pixmap(size, QIcon::Disabled).toImage();
            EXPECT_GT(mostSaturated(normal), 120) << key << ' ' << size;
            EXPECT_LT(mostSaturated(disabled), 20) << key << ' ' << size;
        }
    }
    EXPECT_TRUE(ToolbarIcons::icon(QStringLiteral("Other"), QApplication::style()).isNull());
}

} // namespace
