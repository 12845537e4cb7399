// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncRun.h"

#include "sync/AdjacentSwaps.h"

#include "device/MediumCapacity.h"
#include "device/PlayerFileOperations.h"
#include "localfiles/FileExtension.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/SizeFormat.h"
#include "transfer/SendFiles.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace
{

using Action = SyncItem::Action;

QString nameKey(const QString& name)
{
    return name.toCaseFolded();
}

// The operations ask before they change anything; the user answered for the whole plan already.
// Their notices still reach the user, and are kept for the summary.
class PlannedPrompt : public Prompt
{
public:
    explicit PlannedPrompt(Prompt& inner) : m_inner(inner) {}
    bool askYesNo(const QString&, const QString&) override { return true; }
    Answer askReplace(const QString&, const QString&, const QString&) override { return Answer::Yes; }
    void showMessage(const QString& text, const QString& title, Icon icon) override
    {
        m_inner.showMessage(text, title, icon);
    }

private:
    Prompt& m_inner;
};

// Puts the session back in the view the caller had, with a fresh list when the player changed.
class ViewGuard
{
public:
    explicit ViewGuard(PlayerSession& session) : m_session(session), m_view(session.view())
    {
        m_session.setView(PlayerView::Audio);
    }
    ~ViewGuard()
    {
        m_session.setView(m_view);
        if (m_changed)
            m_session.RefreshPlayerList();
    }
    ViewGuard(const ViewGuard&) = delete;
    ViewGuard& operator=(const ViewGuard&) = delete;
    void playerChanged() { m_changed = true; }

private:
    PlayerSession& m_session;
    PlayerView m_view;
    bool m_changed = false;
};

// Passes progress on, and notes which files the player stored.
class ArrivalObserver : public TransferObserver
{
public:
    explicit ArrivalObserver(TransferObserver* inner) : m_inner(inner) {}
    bool fileStarting(const TransferProgress& progress) override
    {
        return !m_inner || m_inner->fileStarting(progress);
    }
    void fileFinished(const TransferProgress& progress, bool ok) override
    {
        if (ok)
            m_arrived.insert(nameKey(progress.name));
        if (m_inner)
            m_inner->fileFinished(progress, ok);
    }
    bool stopRequested() const override { return m_inner && m_inner->stopRequested(); }
    const QSet<QString>& arrived() const { return m_arrived; }

private:
    TransferObserver* m_inner;
    QSet<QString> m_arrived;
};

class Runner
{
public:
    Runner(SyncRequest& request, const SyncPlan& plan, SyncRecord& record, const QString& recordPath)
        : m_request(request), m_plan(plan), m_record(record), m_recordPath(recordPath),
          m_prompt(request.prompt)
    {
    }

    SyncOutcome run()
    {
        if (!session().isConnected())
            return {SyncOutcome::Status::NotConnected, 0, 0, 0, {}, {}, false};
        ViewGuard view(session());
        m_sends = m_plan.sendOrder();
        if (m_sends.empty() && m_plan.count(Action::Delete) == 0) {
            // Nothing to send or delete (a re-sync of an unchanged folder): only the order may
            // need work, and the record is written only when settling it changed it.
            orderOnly();
            if (m_outcome.moves > 0 || m_outcome.status != SyncOutcome::Status::Done)
                view.playerChanged();
            return finish();
        }
        view.playerChanged();
        if (!writePending())
            return finish();
        if (!session().RefreshPlayerList()) {
            fail(QString(), QStringLiteral("the player's entries could not be read"));
            return finish();
        }
        // sendFiles settles the record itself, whatever arrived.
        if (!deleteEntries())
            updateRecord();
        else if (sendFiles())
            putInOrder();
        return finish();
    }

private:
    PlayerSession& session() { return m_request.session; }

    void fail(const QString& name, const QString& reason)
    {
        m_outcome.failures << (name.isEmpty() ? reason : name + QStringLiteral(": ") + reason);
        if (m_outcome.status == SyncOutcome::Status::Done)
            m_outcome.status = SyncOutcome::Status::Failed;
    }

    bool cancelled(const TransferProgress& progress)
    {
        if (!m_request.observer || m_request.observer->fileStarting(progress))
            return false;
        m_outcome.status = SyncOutcome::Status::Cancelled;
        return true;
    }

    void orderOnly()
    {
        if (!session().readEntries(m_entries)) {
            fail(QString(), QStringLiteral("the player's entries could not be read"));
            return;
        }
        SyncPlanner::settle(m_record, m_entries);
        QString error;
        if (m_record.changed && !m_record.save(m_recordPath, &error))
            fail(QString(), QStringLiteral("the sync record cannot be written (%1)").arg(error));
        putInOrder();
    }

    bool writePending()
    {
        m_record.pending.clear();
        for (const SyncItem* item : m_sends)
            m_record.pending.push_back(recordEntryFor(*item));
        QString error;
        if (m_record.save(m_recordPath, &error))
            return true;
        fail(QString(),
             QStringLiteral("the sync record cannot be written (%1); nothing was changed").arg(error));
        m_record.pending.clear();
        return false;
    }

    // A converted file's entry: the size its MP3 will take is known once it arrived.
    SyncRecordEntry recordEntryFor(const SyncItem& item, qint64 stored = 0) const
    {
        return {m_plan.folder, item.relativePath,
                item.name,     item.size,
                item.modified, item.converted ? stored : item.stored,
                item.key,      item.converted ? m_plan.options.quality.text() : QString()};
    }

    // The deletes of a mirror sync, each only when the entry is still the one the plan saw.
    bool deleteEntries()
    {
        std::vector<int> rows;
        QStringList names;
        for (const SyncItem& item : m_plan.items) {
            if (item.action != Action::Delete)
                continue;
            const int row = session().list().findNameIgnoringCase(item.name);
            const bool same =
                row >= 0 && std::any_of(session().allEntries().begin(), session().allEntries().end(),
                                        [&](const PlayerFile& entry) {
                                            return entry.index == session().list().row(row).index &&
                                                   entry.storedSize == item.stored;
                                        });
            if (!same) {
                fail(item.name, QStringLiteral("changed on the player since the plan was made; not deleted"));
                continue;
            }
            rows.push_back(row);
            names << item.name;
        }
        if (rows.empty())
            return m_outcome.status == SyncOutcome::Status::Done;
        if (cancelled(TransferProgress{names.first(), 1, int(rows.size()), 0}))
            return false;
        PlannedPrompt prompt(m_prompt);
        const auto result = PlayerFileOperations::DeleteSelectedPlayerFiles(session(), prompt, rows);
        std::vector<PlayerFile> entries;
        session().readEntries(entries);
        for (const QString& name : names) {
            const bool gone = std::none_of(entries.begin(), entries.end(), [&](const PlayerFile& e) {
                return e.displayName().compare(name, Qt::CaseInsensitive) == 0;
            });
            if (gone) {
                m_record.remove(name);
                ++m_outcome.deleted;
            }
        }
        if (result != PlayerFileOperations::Outcome::Done)
            fail(QString(), QStringLiteral("%1 of %2 entries could not be deleted")
                                .arg(rows.size() - std::size_t(m_outcome.deleted))
                                .arg(rows.size()));
        return m_outcome.status == SyncOutcome::Status::Done;
    }

    bool sendFiles()
    {
        if (m_sends.empty()) {
            updateRecord();
            return m_outcome.status == SyncOutcome::Status::Done;
        }
        std::vector<LocalFileRow> rows;
        rows.reserve(m_sends.size());
        for (const SyncItem* item : m_sends) {
            // The file under its own name: sending converts "a.flac" and stores it as "a.mp3".
            LocalFileRow row;
            row.name = QFileInfo(item->path).fileName();
            row.path = item->path;
            row.size = item->size;
            row.sizeText = mFileAPI::FormatSize(item->size);
            if (mFileAPI::hasTagColumns(row.name))
                mFileAPI::FillTagColumns(row.path, row);
            rows.push_back(std::move(row));
        }
        LocalFileModel local;
        local.setRows(std::move(rows));
        std::vector<int> all(m_sends.size());
        std::iota(all.begin(), all.end(), 0);
        PlannedPrompt prompt(m_prompt);
        ArrivalObserver arrivals(m_request.observer);
        SendRequest send{session(),
                         prompt,
                         local,
                         all,
                         m_request.lcdSelector,
                         m_request.makeBlock,
                         &arrivals,
                         m_plan.options.quality};
        const TransferOutcome outcome = SendSelectedFiles(send);
        m_storedWhole = arrivals.arrived();
        m_outcome.playerGone = outcome.playerGone;
        updateRecord();
        switch (outcome.status) {
        case TransferOutcome::Status::Done:
            break;
        case TransferOutcome::Status::Cancelled:
            m_outcome.status = SyncOutcome::Status::Cancelled;
            break;
        case TransferOutcome::Status::NotEnoughSpace:
            fail(QString(), QStringLiteral("not enough free space on the player; nothing was sent"));
            break;
        case TransferOutcome::Status::NotConnected:
            fail(QString(), QStringLiteral("no player attached"));
            break;
        case TransferOutcome::Status::Failed:
            fail(outcome.failedName, QStringLiteral("not sent"));
            break;
        }
        return m_outcome.status == SyncOutcome::Status::Done && m_outcome.notSent.isEmpty();
    }

    // Whether the entry of the item's name, of this stored size, is what the item sent.
    bool arrived(const SyncItem& item, qint64 stored) const
    {
        if (!item.converted)
            return stored == item.stored;
        // The MP3's size was not known in advance. Sending said it arrived; or, should the old
        // copy it replaced have stayed, the entry is the new one when its size is another.
        if (m_storedWhole.contains(nameKey(item.name)))
            return true;
        const SyncRecordEntry* older = m_record.find(item.name);
        return !item.replaces || (older && older->stored != stored);
    }

    // What arrived is what the player holds now under the name with the stored size expected.
    void updateRecord()
    {
        std::vector<PlayerFile> entries;
        if (session().readEntries(entries)) {
            QHash<QString, qint64> stored;
            for (const PlayerFile& entry : entries)
                stored.insert(nameKey(entry.displayName()), entry.storedSize);
            for (const SyncItem* item : m_sends) {
                const auto it = stored.constFind(nameKey(item->name));
                if (it != stored.cend() && arrived(*item, *it)) {
                    m_record.put(recordEntryFor(*item, *it));
                    ++m_outcome.sent;
                } else {
                    m_outcome.notSent << item->name;
                }
            }
            m_record.pending.clear();
            SyncPlanner::settle(m_record, entries);
        } else {
            // Unknown what arrived: the pending entries stay for the next sync to settle.
            fail(QString(), QStringLiteral("the player's entries could not be read after sending"));
            for (const SyncItem* item : m_sends)
                m_outcome.notSent << item->name;
        }
        QString error;
        if (!m_record.save(m_recordPath, &error))
            fail(QString(), QStringLiteral("the sync record cannot be written (%1)").arg(error));
        m_entries = std::move(entries);
    }

    void putInOrder()
    {
        if (m_plan.options.order == SyncOrder::None)
            return;
        // The folder's entries are sorted among the places they hold; every other entry stays
        // where it is.
        QHash<QString, const SyncRecordEntry*> ours;
        for (const SyncRecordEntry& e : m_record.arrived)
            if (e.folder == m_plan.folder)
                ours.insert(nameKey(e.name), &e);
        std::vector<int64_t> rank(m_entries.size());
        std::iota(rank.begin(), rank.end(), 0);
        std::vector<std::size_t> places;
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (belongsToView(PlayerView::Audio, m_entries[i].extension) &&
                ours.contains(nameKey(m_entries[i].displayName())))
                places.push_back(i);
        std::vector<std::size_t> sorted = places;
        const bool byName = m_plan.options.order == SyncOrder::Name;
        std::stable_sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) {
            const SyncRecordEntry& x = *ours.value(nameKey(m_entries[a].displayName()));
            const SyncRecordEntry& y = *ours.value(nameKey(m_entries[b].displayName()));
            return byName ? OrderKeys::before(OrderKey(), x.name, OrderKey(), y.name)
                          : OrderKeys::before(x.key, x.name, y.key, y.name);
        });
        for (std::size_t k = 0; k < sorted.size(); ++k)
            rank[sorted[k]] = int64_t(places[k]);
        const std::vector<int32_t> swaps = AdjacentSwaps::plan(rank);
        std::vector<QString> names;
        for (const PlayerFile& entry : m_entries)
            names.push_back(entry.displayName());
        for (std::size_t k = 0; k < swaps.size(); ++k) {
            const int32_t at = swaps[k];
            if (cancelled(TransferProgress{names[std::size_t(at) + 1], int(k + 1), int(swaps.size()), 0}))
                return;
            if (!session().library().Replace(session().handle(), 0, at, at + 1)) {
                fail(names[std::size_t(at) + 1], QStringLiteral("the player refused to move it; the order is "
                                                                "unfinished (a later sync completes it)"));
                return;
            }
            std::swap(names[std::size_t(at)], names[std::size_t(at) + 1]);
            ++m_outcome.moves;
        }
    }

    SyncOutcome finish()
    {
        if (m_outcome.status == SyncOutcome::Status::Done && !m_outcome.notSent.isEmpty())
            m_outcome.status = SyncOutcome::Status::Failed;
        return m_outcome;
    }

    SyncRequest& m_request;
    const SyncPlan& m_plan;
    SyncRecord& m_record;
    QString m_recordPath;
    Prompt& m_prompt;
    std::vector<const SyncItem*> m_sends;
    std::vector<PlayerFile> m_entries;
    QSet<QString> m_storedWhole; // names the send reported as stored
    SyncOutcome m_outcome;
};

} // namespace

SyncPreparation prepareSync(PlayerSession& session, const QString& folder, const SyncOptions& options,
                            const std::function<bool()>& stopped)
{
    SyncPreparation prep;
    const QFileInfo info(folder);
    if (!info.isDir()) {
        prep.problem = SyncPreparation::Problem::NotAFolder;
        prep.error = QStringLiteral("not a folder: %1").arg(folder);
        return prep;
    }
    if (!session.isConnected()) {
        prep.problem = SyncPreparation::Problem::NoPlayer;
        prep.error = QStringLiteral("no player attached");
        return prep;
    }
    MediumInfo medium{};
    if (!session.library().GetMediumInfo(session.handle(), 0, medium)) {
        prep.problem = SyncPreparation::Problem::MediumUnread;
        prep.error = QStringLiteral("the player's memory could not be read");
        return prep;
    }
    const MediumFields fields = decodeMediumInfo(medium);
    SyncInput input;
    input.folder = info.canonicalFilePath();
    input.options = options;
    input.unitBytes = qint64(fields.unitSize) * fields.firstFactor * fields.secondFactor;
    input.freeBytes = capacityOf(fields).freeBytes;
    if (!session.readEntries(input.entries)) {
        prep.problem = SyncPreparation::Problem::EntriesUnread;
        prep.error = QStringLiteral("the player's entries could not be read");
        return prep;
    }
    prep.recordPath = SyncRecord::pathFor(medium);
    if (!input.record.load(prep.recordPath, &prep.recordNote))
        input.record = SyncRecord();
    input.files = SourceFolder::scan(input.folder, &prep.unreadable, stopped);
    input.stopped = stopped;
    prep.plan = SyncPlanner::makePlan(input);
    if (stopped && stopped()) {
        prep.stopped = true;
        prep.problem = SyncPreparation::Problem::Stopped;
        prep.error = QStringLiteral("stopped");
        return prep;
    }
    prep.record = std::move(input.record);
    prep.ok = true;
    return prep;
}

SyncOutcome runSync(SyncRequest& request, const SyncPlan& plan, SyncRecord& record, const QString& recordPath)
{
    return Runner(request, plan, record, recordPath).run();
}
