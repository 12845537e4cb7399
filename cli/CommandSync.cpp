// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl sync: makes the player's music match a folder. Prints the plan (one line per file:
// action, name, reason, bytes), asks what needs asking before anything changes, then carries it
// out with progress on a terminal.
#include "cli/CommandDeviceSupport.h"

#include "localfiles/SizeFormat.h"
#include "sync/SyncRun.h"
#include "transfer/TitleRenderer.h"

#include "core/StoredSettings.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace
{

std::atomic<bool> interrupted{false};

extern "C" void onSyncInterrupt(int)
{
    interrupted = true;
    std::signal(SIGINT, SIG_DFL); // a second Ctrl+C stops at once
}

// Ctrl+C lets the file or move in flight finish (a conversion stops at once), then stops: every
// entry stays whole.
class SyncObserver : public TransferObserver
{
public:
    SyncObserver(QTextStream& err) : m_err(err), m_show(isatty(STDERR_FILENO)) {}
    bool fileStarting(const TransferProgress& p) override
    {
        if (interrupted)
            return false;
        if (m_show)
            m_err << '[' << p.number << '/' << p.total << "] " << p.name << '\n' << Qt::flush;
        return true;
    }
    void fileFinished(const TransferProgress&, bool) override {}
    // Asked by the conversions on their own threads: Ctrl+C stops a long one within a second.
    bool stopRequested() const override { return interrupted; }

private:
    QTextStream& m_err;
    bool m_show;
};

bool parseOrder(const QString& text, SyncOrder& order)
{
    if (text == QLatin1String("album"))
        order = SyncOrder::Album;
    else if (text == QLatin1String("name"))
        order = SyncOrder::Name;
    else if (text == QLatin1String("none"))
        order = SyncOrder::None;
    else
        return false;
    return true;
}

// A quality named on the command line must be one; a stored one that is not falls back to V2.
bool parseQuality(const QString& given, const QString& stored, ConversionQuality& quality)
{
    if (!given.isEmpty()) {
        const std::optional<ConversionQuality> parsed = ConversionQuality::parse(given);
        if (parsed)
            quality = *parsed;
        return parsed.has_value();
    }
    quality = ConversionQuality::parse(stored).value_or(ConversionQuality());
    return true;
}

void printPlan(QTextStream& out, const SyncPlan& plan)
{
    for (const SyncItem& item : plan.items) {
        const QString& shown = item.relativePath.isEmpty() ? item.name : item.relativePath;
        out << SyncPlanner::actionWord(item.action) << '\t' << shown << '\t' << item.reason << '\t'
            << item.shownBytes() << '\n';
    }
    out << Qt::flush;
}

void printSummary(QTextStream& err, const SyncPlan& plan)
{
    using A = SyncItem::Action;
    err << "sync: " << plan.count(A::Send) << " to send (" << mFileAPI::FormatSize(plan.bytes(A::Send))
        << " bytes), " << plan.count(A::Delete) << " to delete ("
        << mFileAPI::FormatSize(plan.bytes(A::Delete)) << " bytes), " << plan.count(A::Keep) << " to keep, "
        << plan.count(A::Skip) << " skipped; " << mFileAPI::FormatSize(plan.freeBytes) << " bytes free\n";
}

int sync(CommandContext& c)
{
    ParsedArgs parsed;
    SyncOptions options;
    StoredSettings::Values settings;
    settings.load(*StoredSettings::open());
    // The quality the window's sends and syncs use, unless the command names one.
    if (!parseArgs(c.args,
                   {QStringLiteral("--mirror"), QStringLiteral("--dry-run"), QStringLiteral("--yes"),
                    QStringLiteral("--no")},
                   {QStringLiteral("--order"), QStringLiteral("--quality")}, parsed, c.err) ||
        parsed.positional.size() != 1 ||
        !parseOrder(parsed.value(QStringLiteral("--order"), QStringLiteral("album")), options.order) ||
        !parseQuality(parsed.value(QStringLiteral("--quality")), settings.conversionQuality,
                      options.quality)) {
        c.err << "usage: zvdctl sync [--mirror] [--dry-run] [--order album|name|none] "
                 "[--quality V0..V9|CBR128|CBR192|CBR256|CBR320] [--yes|--no] DIR\n";
        return ExitUsage;
    }
    options.mirror = parsed.has(QStringLiteral("--mirror"));
    const bool dryRun = parsed.has(QStringLiteral("--dry-run"));
    CliPlayer player(c);
    if (const int result = player.connect(PlayerView::Audio); result != ExitDone)
        return result;
    SyncPreparation prep = prepareSync(player.session(), parsed.positional.first(), options);
    if (!prep.ok) {
        c.err << "zvdctl: " << prep.error << '\n';
        return ExitFailed;
    }
    if (!prep.recordNote.isEmpty())
        c.err << "zvdctl: the sync record was not read, so nothing counts as sent by a sync: "
              << prep.recordNote << '\n';
    for (const QString& name : prep.unreadable)
        c.err << "zvdctl: cannot read " << name << '\n';
    SyncPlan& plan = prep.plan;
    const bool fits = plan.fits();
    const int wanted = plan.sendCount;
    if (!fits)
        plan.keepWhatFits();
    printPlan(c.out, plan);
    printSummary(c.err, plan);
    if (!fits)
        c.err << "zvdctl: not everything fits: " << plan.sendsThatFit << " of " << wanted
              << " files fit in folder order (" << mFileAPI::FormatSize(plan.freeBytes + plan.freedBytes)
              << " bytes free once the deletes are done)\n";
    if (dryRun)
        return ExitDone;

    CliPrompt prompt(cliAnswer(parsed), c.err);
    const QString title = player.texts().title;
    if (!fits &&
        !prompt.askYesNo(QStringLiteral("Send the %1 files that fit?").arg(plan.sendsThatFit), title)) {
        if (prompt.unanswered()) {
            c.err << "zvdctl: unanswered question (use --yes or --no): " << *prompt.unanswered() << '\n';
            return ExitUsage;
        }
        c.err << "zvdctl: nothing was changed\n";
        return ExitFailed;
    }
    if (const int deletes = plan.count(SyncItem::Action::Delete);
        deletes > 0 &&
        !prompt.askToErase(QStringLiteral("Delete %1 entries from the player?").arg(deletes), title)) {
        if (prompt.unanswered()) {
            c.err << "zvdctl: unanswered question (use --yes or --no): " << *prompt.unanswered() << '\n';
            return ExitUsage;
        }
        c.err << "zvdctl: nothing was changed\n";
        return ExitFailed;
    }

    const LcdTitleFont font{settings.font.face, settings.font.points, settings.font.bold};
    SyncObserver observer(c.err);
    std::signal(SIGINT, onSyncInterrupt);
    SyncRequest request{player.session(), prompt, settings.displayName, titleBlockMaker(font), &observer};
    const SyncOutcome outcome = runSync(request, plan, prep.record, prep.recordPath);
    std::signal(SIGINT, SIG_DFL);
    for (const QString& failure : outcome.failures)
        c.err << "zvdctl: failed: " << failure << '\n';
    for (const QString& name : outcome.notSent)
        c.err << "zvdctl: not sent: " << name << '\n';
    c.err << "sync: " << outcome.sent << " sent, " << outcome.deleted << " deleted, " << outcome.moves
          << " moves\n";
    switch (outcome.status) {
    case SyncOutcome::Status::Done:
        return fits ? ExitDone : ExitFailed;
    case SyncOutcome::Status::Cancelled:
        c.err << "zvdctl: interrupted; every entry on the player is whole\n";
        return ExitFailed;
    case SyncOutcome::Status::NotConnected:
        return ExitNoPlayer;
    case SyncOutcome::Status::Failed:
        break;
    }
    return outcome.playerGone ? ExitNoPlayer : ExitFailed;
}

CommandRegistrar syncCommand{
    "sync", "sync [--mirror] [--dry-run] [--order album|name|none] [--quality Q] [--yes|--no] DIR", &sync};

} // namespace
