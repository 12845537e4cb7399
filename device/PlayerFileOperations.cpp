// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerFileOperations.h"

#include "i18n/NumberFormat.h"

#include <algorithm>

namespace PlayerFileOperations
{
namespace
{

const QString LineBreak = QStringLiteral("\r\n");

struct Selected {
    int32_t index;
    QString name;
};

// The chosen rows in list order (which is the player's order), each once.
std::vector<Selected> selectedRows(const PlayerList& list, std::vector<int> positions)
{
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::vector<Selected> selected;
    for (int position : positions)
        if (position >= 0 && position < list.count())
            selected.push_back({list.row(position).index, list.row(position).name});
    // Entry indexes must rise for the shift correction below to hold.
    std::stable_sort(selected.begin(), selected.end(),
                     [](const Selected& a, const Selected& b) { return a.index < b.index; });
    return selected;
}

QString deleteQuestion(const MessageTexts& texts, const std::vector<Selected>& selected)
{
    const QString what =
        selected.size() == 1 ? selected.front().name : FormatNumber(qint64(selected.size()), texts.delFormat);
    return texts.deleteText + LineBreak + what;
}

} // namespace

Outcome DeleteSelectedPlayerFiles(PlayerSession& session, Prompt& prompt, std::vector<int> rowPositions)
{
    if (!session.isConnected())
        return Outcome::NotConnected;
    const std::vector<Selected> selected = selectedRows(session.list(), std::move(rowPositions));
    const MessageTexts& texts = session.texts();
    if (!prompt.askYesNo(deleteQuestion(texts, selected), texts.title)) {
        session.RefreshPlayerList();
        return Outcome::Declined;
    }
    Outcome outcome = Outcome::Done;
    for (std::size_t k = 0; k < selected.size(); ++k) {
        // Each deletion moves the later entries up by one.
        const int32_t index = selected[k].index - int32_t(k);
        if (!session.library().Delete(session.owner(), session.handle(), 0, index, selected[k].name)) {
            // Every name that is still there: the failed one and those not tried after it.
            QString text = texts.delFail + LineBreak + selected[k].name;
            if (k + 1 < selected.size()) {
                text += LineBreak + texts.notTried;
                for (std::size_t rest = k + 1; rest < selected.size(); ++rest)
                    text += LineBreak + selected[rest].name;
            }
            prompt.showMessage(text, texts.title, Prompt::Icon::Warning);
            outcome = Outcome::Failed;
            break;
        }
    }
    session.RefreshPlayerList();
    return outcome;
}

QString RenamedName(const QString& oldName, const QString& typed)
{
    // Only a real extension (a point and three characters) is kept; "README" has none.
    const bool hasExtension = oldName.size() >= 4 && oldName[oldName.size() - 4] == QLatin1Char('.');
    if (!hasExtension)
        return typed;
    const QString tail = oldName.right(4);
    if (typed.right(4).compare(tail, Qt::CaseInsensitive) == 0)
        return typed;
    return typed + tail;
}

Outcome RenamePlayerFile(PlayerSession& session, int rowPosition, const QString& typed)
{
    if (!session.isConnected())
        return Outcome::NotConnected;
    if (typed.isEmpty() || rowPosition < 0 || rowPosition >= session.list().count())
        return Outcome::Declined;
    const PlayerListRow row = session.list().row(rowPosition);
    const QString newName = RenamedName(row.name, typed);
    // The library wants the entry's record as it just reported it.
    const int32_t wanted = row.index + 1;
    std::vector<PlayerEntry> records(std::size_t(wanted), PlayerEntry{});
    int32_t total = 0;
    int32_t count = wanted;
    bool ok = session.library().Refresh(session.handle(), 0, total, records.data(), count) && count >= wanted;
    // Without its record the rename is not sent: a zeroed record could damage the entry.
    if (ok)
        ok = session.library().Rename(session.handle(), 0, row.index, newName,
                                      records[std::size_t(row.index)]);
    session.RefreshPlayerList();
    return ok ? Outcome::Done : Outcome::Failed;
}

std::vector<std::pair<int32_t, int32_t>> ReorderSwaps(int32_t source, int32_t target)
{
    const int32_t step = source < target ? 1 : -1;
    const int32_t swaps = source < target ? target - source - 1 : source - target;
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int32_t u = 0; u < swaps; ++u)
        pairs.emplace_back(source + step * u, source + step * (u + 1));
    return pairs;
}

Outcome MovePlayerFile(PlayerSession& session, int32_t source, int32_t target)
{
    if (!session.isConnected())
        return Outcome::NotConnected;
    Outcome outcome = Outcome::Done;
    for (const auto& [a, b] : ReorderSwaps(source, target)) {
        // Going on after a failed swap would move other files instead of this one.
        if (!session.library().Replace(session.handle(), 0, a, b)) {
            outcome = Outcome::Failed;
            break;
        }
    }
    session.RefreshPlayerList();
    return outcome;
}

Outcome FormatPlayer(PlayerSession& session, Prompt& prompt)
{
    if (!session.isConnected())
        return Outcome::NotConnected;
    if (!prompt.askYesNo(session.texts().format, session.texts().title))
        return Outcome::Declined;
    const bool ok = session.library().Format(session.owner(), session.handle(), 0);
    session.RefreshPlayerList();
    return ok ? Outcome::Done : Outcome::Failed;
}

} // namespace PlayerFileOperations
