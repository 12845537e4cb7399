// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What every zvdctl command that talks to the player needs: the device library, the message
// texts of the chosen language, a connected session, and the mapping of outcomes to exit statuses.
#pragma once

#include "cli/CliPrompt.h"
#include "cli/CommandRegistry.h"
#include "device/PlayerFileOperations.h"
#include "device/PlayerSession.h"
#include "device/mTCC730.h"
#include "i18n/MessageTexts.h"

#include <QHash>

#include <vector>

// --lang, else the language stored by ZVD, else Language/english.lng beside the program.
QString cliLanguageFile(const CommandContext& context);

// The message texts of cliLanguageFile(); built-in texts (and a note on stderr) when it cannot
// be opened.
MessageTexts cliMessageTexts(const CommandContext& context);

// --yes / --no, else ask on the terminal.
CliPrompt::Answer cliAnswer(const ParsedArgs& parsed);

int exitStatusFor(PlayerFileOperations::Outcome outcome);

// One connection to the player for the life of a command; closed and the library shut down at
// the end, as the window does at shutdown.
class CliPlayer
{
public:
    explicit CliPlayer(CommandContext& context);
    ~CliPlayer();
    CliPlayer(const CliPlayer&) = delete;
    CliPlayer& operator=(const CliPlayer&) = delete;

    // Loads the library and connects, lists the view and puts right what a killed process left
    // set aside on the player. ExitDone; ExitNoPlayer with the reason written to stderr (no
    // library, no player attached, the player refused to open); ExitFailed when the library
    // could not be started or the player's memory or entries could not be read (nothing may be
    // done on a list that was not read).
    int connect(PlayerView view = PlayerView::All);

    // Says on stderr what a library call left unreadable; true when the list is unread.
    bool reportUnreadList(const char* when = nullptr) const;

    // False when the library failed to list the player's entries.
    bool listed() const { return m_listed; }
    PlayerSession& session() { return m_session; }
    const MessageTexts& texts() const { return m_texts; }

    // Row position of the entry with this display name in the listed view, -1 (and a message)
    // when there is none or the entries could not be read. Positions already taken are
    // skipped, so a name given twice picks the next entry of that name.
    int findRow(const QString& name, const std::vector<int>& taken = {}) const;

private:
    CommandContext& m_context;
    MessageTexts m_texts;
    mTCC730 m_library;
    PlayerSession m_session;
    bool m_started = false;
    bool m_listed = false;
    // Positions of each display name in the list, made on the first look-up: a command naming
    // thousands of entries looks each up at once instead of walking the list for every one.
    mutable QHash<QString, std::vector<int>> m_positions;
};
