// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "ToolbarIcons.h"

#include <QStyle>

namespace ToolbarIcons
{
namespace
{

struct Picture {
    const char* key;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

// The PC side is above the player side: sending goes down, fetching goes up.
constexpr Picture kPictures[] = {
    {"Download", "go-down", QStyle::SP_ArrowDown},
    {"Upload", "go-up", QStyle::SP_ArrowUp},
    {"Delete", "edit-delete", QStyle::SP_TrashIcon},
    {"Format", "drive-removable-media", QStyle::SP_DriveFDIcon},
};

} // namespace

QIcon icon(const QString& key, const QStyle* style)
{
    for (const Picture& picture : kPictures) {
        if (key == QLatin1String(picture.key))
            return QIcon::fromTheme(QLatin1String(picture.themeName), style->standardIcon(picture.fallback));
    }
    return QIcon();
}

} // namespace ToolbarIcons
