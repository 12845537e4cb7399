// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "cli/CommandDeviceSupport.h"

#include "core/StoredSettings.h"
#include "device/PlayerSetAside.h"
#include "i18n/LangReader.h"

#include <algorithm>

QString cliLanguageFile(const CommandContext& context)
{
    if (!context.languageFile.isEmpty())
        return context.languageFile;
    // The same store ZVD keeps its settings in, so zvdctl speaks the language the user chose.
    StoredSettings::Values values;
    values.load(*StoredSettings::open());
    const QString stored = values.language.value_or(QString());
    return stored.isEmpty() ? mControlUI::DefaultLanguageFile() : stored;
}

MessageTexts cliMessageTexts(const CommandContext& context)
{
    const QString file = cliLanguageFile(context);
    if (auto texts = MessageTexts::load(file))
        return *texts;
    context.err << QStringLiteral("zvdctl: ")
                << mControlUI::MissingLanguageFileText(file).replace(QLatin1String("\r\n"),
                                                                     QLatin1String(" "))
                << '\n';
    // The shipped English texts rather than none: "Memory: ..." beats ": ...".
    if (auto english = MessageTexts::load(mControlUI::DefaultLanguageFile()))
        return *english;
    return MessageTexts::builtIn();
}

CliPrompt::Answer cliAnswer(const ParsedArgs& parsed)
{
    if (parsed.has(QStringLiteral("--yes")))
        return CliPrompt::Answer::Yes;
    if (parsed.has(QStringLiteral("--no")))
        return CliPrompt::Answer::No;
    return CliPrompt::Answer::Ask;
}

int exitStatusFor(PlayerFileOperations::Outcome outcome)
{
    using PlayerFileOperations::Outcome;
    switch (outcome) {
    case Outcome::Done:
    case Outcome::Declined:
        return ExitDone;
    case Outcome::NotConnected:
        return ExitNoPlayer;
    case Outcome::Failed:
        return ExitFailed;
    }
    return ExitFailed;
}

CliPlayer::CliPlayer(CommandContext& context)
    : m_context(context), m_texts(cliMessageTexts(context)), m_session(m_library, m_texts)
{
}

CliPlayer::~CliPlayer()
{
    if (!m_started)
        return;
    // The operation relisted the player and that failed: what it did cannot be shown, say so.
    if (m_listed && m_session.isConnected() && !m_session.listRead()) {
        reportUnreadList("after the operation");
        m_context.laterFailure = true;
    }
    if (!m_session.DisconnectPlayer()) {
        m_context.err << "zvdctl: the connection to the player could not be closed\n";
        m_context.laterFailure = true;
    }
    if (!m_library.ExitDLL()) {
        m_context.err << "zvdctl: the device library could not be shut down\n";
        m_context.laterFailure = true;
    }
}

bool CliPlayer::reportUnreadList(const char* when) const
{
    if (m_session.listRead())
        return false;
    m_context.err << "zvdctl: the player's " << (m_session.memoryRead() ? "entries" : "memory")
                  << " could not be read";
    if (when)
        m_context.err << ' ' << when;
    m_context.err << '\n';
    return true;
}

int CliPlayer::connect(PlayerView view)
{
    if (!m_library.load(mTCC730::libraryPath(m_context.libraryPath))) {
        m_context.err << "zvdctl: " << m_library.error() << '\n';
        return ExitNoPlayer;
    }
    if (!m_library.StartDLL()) {
        m_context.err << "zvdctl: the device library could not be started\n";
        return ExitFailed;
    }
    m_started = true;
    if (m_session.tick() != PlayerSession::TickOutcome::Connected) {
        m_context.err << "zvdctl: no player attached\n";
        return ExitNoPlayer;
    }
    if (!m_session.isConnected()) {
        m_context.err << "zvdctl: the player is attached but could not be opened\n";
        return ExitNoPlayer;
    }
    m_session.setView(view);
    m_listed = m_session.RefreshPlayerList();
    m_positions.clear();
    if (m_listed) {
        for (const QString& problem : PlayerSetAside::restoreLeftovers(m_session))
            m_context.err << "zvdctl: " << problem << '\n';
        m_listed = m_session.listRead();
    }
    if (reportUnreadList())
        return ExitFailed;
    return ExitDone;
}

int CliPlayer::findRow(const QString& name, const std::vector<int>& taken) const
{
    // An unread list proves nothing about the name; say what really went wrong.
    if (!m_listed) {
        m_context.err << "zvdctl: the player's entries could not be read\n";
        return -1;
    }
    const PlayerList& list = m_session.list();
    if (m_positions.isEmpty())
        for (int position = 0; position < list.count(); ++position)
            m_positions[list.row(position).name].push_back(position);
    for (int position : m_positions.value(name))
        if (std::find(taken.begin(), taken.end(), position) == taken.end())
            return position;
    m_context.err << "zvdctl: no entry named \"" << name << "\" on the player\n";
    return -1;
}
