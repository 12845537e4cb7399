// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerView.h"

namespace
{
bool is(const QString& extension, const char* name)
{
    return extension == QLatin1String(name);
}
} // namespace

bool carriesTitleBlock(const QString& extension)
{
    return is(extension, "MP3") || is(extension, "WMA");
}

bool belongsToView(PlayerView view, const QString& extension)
{
    switch (view) {
    case PlayerView::Audio:
        return carriesTitleBlock(extension);
    case PlayerView::Record:
        return is(extension, "ZVD");
    case PlayerView::Hdd:
        return !carriesTitleBlock(extension) && !is(extension, "ZVD");
    case PlayerView::All:
        return true;
    }
    return false;
}

bool parsePlayerView(const QString& text, PlayerView& view)
{
    static constexpr struct {
        const char* name;
        PlayerView view;
    } Names[] = {{"audio", PlayerView::Audio},
                 {"record", PlayerView::Record},
                 {"hdd", PlayerView::Hdd},
                 {"all", PlayerView::All}};
    for (const auto& entry : Names) {
        if (text == QLatin1String(entry.name)) {
            view = entry.view;
            return true;
        }
    }
    return false;
}
