// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A session wired to the fake device, and a prompt that answers from a script and records
// what it was asked and told.
#pragma once

#include "FakeDevice.h"
#include "core/Prompt.h"
#include "device/PlayerSession.h"
#include "i18n/MessageTexts.h"

#include <gtest/gtest.h>

class RecordingPrompt : public Prompt
{
public:
    bool answer = true;
    QStringList questions;
    QStringList messages;
    QList<Icon> icons;

    bool askYesNo(const QString& text, const QString& title) override
    {
        questions << text;
        titles << title;
        return answer;
    }
    void showMessage(const QString& text, const QString& title, Icon icon) override
    {
        messages << text;
        titles << title;
        icons << icon;
    }
    QStringList titles;
};

class PlayerFixture : public ::testing::Test
{
protected:
    PlayerFixture() : library(fake.table()), session(library, texts)
    {
        texts.title = QStringLiteral("Box Title");
        texts.connect = QStringLiteral("Connected");
        texts.disconnect = QStringLiteral("Not connected");
        texts.memory = QStringLiteral("Memory");
        texts.deleteText = QStringLiteral("Delete?");
        texts.delFormat = QStringLiteral("0 files");
        texts.format = QStringLiteral("Format?");
        texts.formatLow = QStringLiteral("Low format?");
        texts.firmUp = QStringLiteral("Upgraded");
        texts.applyFallbacks();
        fake.setMedium(7800, 200, 512, 8, 4);
    }

    // Attaches the player, lists the view and forgets the calls made so far.
    void connect(PlayerView view = PlayerView::All)
    {
        fake.connection = 1;
        session.setView(view);
        session.tick();
        session.RefreshPlayerList();
        fake.calls.clear();
    }

    void addEntries(std::initializer_list<FakeEntry> list) { fake.entries.insert(fake.entries.end(), list); }

    std::vector<int32_t> listedIndexes() const
    {
        std::vector<int32_t> indexes;
        for (const PlayerListRow& row : session.list().rows())
            indexes.push_back(row.index);
        return indexes;
    }

    FakeDevice fake;
    MessageTexts texts;
    mTCC730 library;
    PlayerSession session;
    RecordingPrompt prompt;
};
