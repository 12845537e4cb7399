// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The connection half of PlayerSession: opening and dropping the connection as the poll sees
// the player come and go.
#include "device/PlayerSession.h"

PlayerSession::PlayerSession(mTCC730& library, const MessageTexts& texts)
    : m_library(library), m_texts(&texts)
{
}

int32_t PlayerSession::OpenPlayer()
{
    if (m_library.TestConnection() == 0)
        return 0;
    int32_t handle = 0;
    if (!m_library.Open(handle) || handle <= 0)
        return 0;
    return handle;
}

bool PlayerSession::ClosePlayer()
{
    return m_library.Close(m_handle);
}

void PlayerSession::ConnectPlayer()
{
    if (m_handle != 0)
        return;
    m_handle = OpenPlayer();
    // A failed open must not claim a connection: the user would wait for a list that never comes.
    m_connectionText = m_handle > 0 ? texts().connect : texts().disconnect;
}

bool PlayerSession::DisconnectPlayer()
{
    const bool closed = m_handle <= 0 || ClosePlayer();
    m_lastCloseSucceeded = closed;
    m_handle = 0;
    m_freeBytes = 0;
    m_totalBytes = 0;
    m_connectionText = texts().disconnect;
    m_capacityText.clear();
    m_list.clear();
    m_allEntries.clear();
    m_listRead = false;
    m_memoryRead = false;
    return closed;
}

PlayerSession::TickOutcome PlayerSession::tick()
{
    const int state = m_library.TestConnection();
    TickOutcome outcome = TickOutcome::Unchanged;
    if (state != m_lastState) {
        if (state == 1) {
            ConnectPlayer();
            outcome = TickOutcome::Connected;
        } else {
            DisconnectPlayer();
            outcome = TickOutcome::Disconnected;
        }
    }
    m_lastState = state;
    return outcome;
}
