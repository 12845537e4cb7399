// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What the main window keeps about the player: the connection (opened and dropped as polling
// sees the player come and go), the capacity, the selected view and the player list.
#pragma once

#include "device/PlayerList.h"
#include "device/PlayerView.h"
#include "device/mTCC730.h"
#include "i18n/MessageTexts.h"

#include <QString>

class PlayerSession
{
public:
    // Both must outlive the session. texts may be replaced later (a new language): the session
    // reads them at the moment it needs them.
    PlayerSession(mTCC730& library, const MessageTexts& texts);

    mTCC730& library() { return m_library; }
    const MessageTexts& texts() const { return *m_texts; }
    void setTexts(const MessageTexts& texts) { m_texts = &texts; }

    // The native handle of the owner window, handed to the library; null from zvdctl.
    void* owner() const { return m_owner; }
    void setOwner(void* owner) { m_owner = owner; }

    // --- Connection. handle 0: none; > 0: open.
    int32_t handle() const { return m_handle; }
    bool isConnected() const { return m_handle > 0; }
    int32_t OpenPlayer();
    bool ClosePlayer();
    void ConnectPlayer();
    // False when the library failed to close the connection (it is dropped all the same).
    bool DisconnectPlayer();

    // One poll: asks the library whether the player is attached and acts on a change.
    // Connected: the caller rebuilds the list (RefreshPlayerList) inside its busy state.
    enum class TickOutcome { Unchanged, Connected, Disconnected };
    TickOutcome tick();
    int lastConnectionState() const { return m_lastState; }
    // Whether the library closed the connection that the last disconnect dropped.
    bool lastCloseSucceeded() const { return m_lastCloseSucceeded; }

    // Status bar panels 1 (connection) and 2 (capacity).
    QString connectionText() const { return m_connectionText; }
    QString capacityText() const { return m_capacityText; }

    // --- Capacity, as of the last ShowCapacity (0 without a connection).
    qint64 freeBytes() const { return m_freeBytes; }
    qint64 totalBytes() const { return m_totalBytes; }
    // False when the library could not read the medium: the capacity is then unknown (0), and
    // the panel says the memory could not be read instead of claiming an empty medium.
    bool ShowCapacity();

    // --- Listing.
    PlayerView view() const { return m_view; }
    void setView(PlayerView view) { m_view = view; }
    const PlayerList& list() const { return m_list; }
    PlayerList& list() { return m_list; }
    // Re-reads the entries and rebuilds the list of the selected view; nothing without a
    // connection. False when the library failed to read the memory or the entries: the list is
    // then empty, listRead() is false and the capacity panel says what could not be read.
    bool RefreshPlayerList();
    // Whether the shown list is what the player holds: true after a listing that succeeded
    // (also of a medium of 0 bytes). An operation must not act on a list that was not read.
    bool listRead() const { return m_listRead; }
    // Whether the last listing could read the medium information (false: the memory, not the
    // entries, could not be read).
    bool memoryRead() const { return m_memoryRead; }
    // Every entry of the player (all views) as the last successful listing read them.
    const std::vector<PlayerFile>& allEntries() const { return m_allEntries; }
    // Reads every entry of the player (all views), independent of the shown list.
    bool readEntries(std::vector<PlayerFile>& files);

    // The most entries one listing reads; a bogus total from the library must not make us
    // allocate gigabytes.
    static constexpr int32_t MaxListedEntries = 262144;

private:
    mTCC730& m_library;
    const MessageTexts* m_texts;
    void* m_owner = nullptr;
    int32_t m_handle = 0;
    int m_lastState = -1;
    qint64 m_freeBytes = 0;
    qint64 m_totalBytes = 0;
    QString m_connectionText;
    QString m_capacityText;
    PlayerView m_view = PlayerView::Audio;
    PlayerList m_list;
    std::vector<PlayerFile> m_allEntries;
    bool m_listRead = false;
    bool m_memoryRead = false;
    bool m_lastCloseSucceeded = true;
};
