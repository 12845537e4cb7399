// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The three views of the player's one flat entry list (the tabs), plus "all" for zvdctl.
#pragma once

#include <QString>

enum class PlayerView { Audio = 1, Record = 2, Hdd = 3, All = 4 };

// Whether an entry with this extension is shown in the view. Extensions compare exactly: the
// player writes them in upper case, so "mp3" is not music and lands in the third view.
bool belongsToView(PlayerView view, const QString& extension);

// True for the extensions whose stored files carry the LCD title block ("MP3", "WMA").
bool carriesTitleBlock(const QString& extension);

// "audio", "record", "hdd", "all" (zvdctl's --view); false for anything else.
bool parsePlayerView(const QString& text, PlayerView& view);
