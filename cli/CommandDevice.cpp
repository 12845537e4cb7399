// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl's player commands: status, ls, rm, mv, rename, format, firmware, and the language lookup.
// They run the same device code as the window; every question is asked before anything changes.
#include "cli/CommandDeviceSupport.h"
#include "cli/ListingBuffer.h"
#include "device/PlayerMaintenance.h"
#include "i18n/LangReader.h"

#include <QFileInfo>

namespace
{

using PlayerFileOperations::Outcome;

const QString Yes = QStringLiteral("--yes");
const QString No = QStringLiteral("--no");

bool parseOrUsage(CommandContext& c, const QStringList& flags, const QStringList& values, ParsedArgs& parsed,
                  qsizetype minPositional, qsizetype maxPositional, const char* usage)
{
    if (!parseArgs(c.args, flags, values, parsed, c.err))
        return false;
    if (parsed.positional.size() < minPositional || parsed.positional.size() > maxPositional) {
        c.err << "usage: zvdctl " << usage << '\n';
        return false;
    }
    return true;
}

// The status of an operation whose questions prompt answered: a question nobody could answer got
// No, so nothing was changed, and the command ends with status 2.
int answered(CommandContext& c, const CliPrompt& prompt, int status)
{
    if (!prompt.unanswered())
        return status;
    c.err << "zvdctl: unanswered question (use --yes or --no): " << *prompt.unanswered() << '\n';
    return ExitUsage;
}

// The player operations that say nothing themselves when a library call fails.
int reportedStatus(CommandContext& c, Outcome outcome, const QString& what)
{
    if (outcome == Outcome::Failed)
        c.err << "zvdctl: the player reported a failure; " << what << '\n';
    return exitStatusFor(outcome);
}

int status(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {}, {}, parsed, 0, 0, "status"))
        return ExitUsage;
    CliPlayer player(c);
    const int result = player.connect();
    if (result == ExitDone || player.session().lastConnectionState() >= 0)
        c.out << player.session().connectionText() << '\n' << player.session().capacityText() << '\n';
    return result;
}

int list(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {}, {QStringLiteral("--view")}, parsed, 0, 0, "ls [--view audio|record|hdd|all]"))
        return ExitUsage;
    PlayerView view = PlayerView::All;
    if (!parsePlayerView(parsed.value(QStringLiteral("--view"), QStringLiteral("all")), view)) {
        c.err << "zvdctl: --view takes audio, record, hdd or all\n";
        return ExitUsage;
    }
    CliPlayer player(c);
    if (const int result = player.connect(view); result != ExitDone)
        return result;
    if (!player.listed()) {
        c.err << "zvdctl: the player's entries could not be read\n";
        return ExitFailed;
    }
    const std::vector<PlayerListRow>& rows = player.session().list().rows();
    ListingBuffer listing(qsizetype(rows.size()) * 40);
    for (const PlayerListRow& row : rows)
        listing << qint64(row.index) << '\t' << row.size << '\t' << row.name << '\n';
    listing.writeTo(c.out);
    return ExitDone;
}

int remove(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {Yes, No}, {}, parsed, 1, 1 << 30, "rm [--yes|--no] NAME..."))
        return ExitUsage;
    CliPlayer player(c);
    if (const int result = player.connect(); result != ExitDone)
        return result;
    std::vector<int> rows;
    for (const QString& name : parsed.positional) {
        const int row = player.findRow(name, rows);
        if (row < 0)
            return ExitFailed;
        rows.push_back(row);
    }
    CliPrompt prompt(cliAnswer(parsed), c.err);
    const Outcome outcome = PlayerFileOperations::DeleteSelectedPlayerFiles(player.session(), prompt, rows);
    return answered(c, prompt, exitStatusFor(outcome));
}

int move(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {}, {}, parsed, 2, 2, "mv NAME TARGET"))
        return ExitUsage;
    CliPlayer player(c);
    if (const int result = player.connect(); result != ExitDone)
        return result;
    const int source = player.findRow(parsed.positional[0]);
    const int target = player.findRow(parsed.positional[1]);
    if (source < 0 || target < 0)
        return ExitFailed;
    const PlayerList& rows = player.session().list();
    const QString name = rows.row(source).name;
    const Outcome outcome = PlayerFileOperations::MovePlayerFile(player.session(), rows.row(source).index,
                                                                 rows.row(target).index);
    return reportedStatus(c, outcome,
                          QStringLiteral("\"%1\" could not be moved (ls shows where it is now)").arg(name));
}

int rename(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {}, {}, parsed, 2, 2, "rename NAME NEWNAME"))
        return ExitUsage;
    if (parsed.positional[1].isEmpty()) {
        c.err << "zvdctl: the new name is empty\n";
        return ExitUsage;
    }
    CliPlayer player(c);
    if (const int result = player.connect(); result != ExitDone)
        return result;
    const int row = player.findRow(parsed.positional[0]);
    if (row < 0)
        return ExitFailed;
    const Outcome outcome =
        PlayerFileOperations::RenamePlayerFile(player.session(), row, parsed.positional[1]);
    return reportedStatus(c, outcome,
                          QStringLiteral("\"%1\" could not be renamed").arg(parsed.positional[0]));
}

int format(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {QStringLiteral("--low"), Yes, No}, {}, parsed, 0, 0, "format [--low] [--yes|--no]"))
        return ExitUsage;
    CliPlayer player(c);
    if (const int result = player.connect(); result != ExitDone)
        return result;
    CliPrompt prompt(cliAnswer(parsed), c.err);
    const Outcome outcome = parsed.has(QStringLiteral("--low"))
                                ? PlayerMaintenance::LowLevelFormat(player.session(), prompt)
                                : PlayerFileOperations::FormatPlayer(player.session(), prompt);
    return answered(c, prompt, reportedStatus(c, outcome, QStringLiteral("the format did not complete")));
}

int firmware(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {Yes, No}, {}, parsed, 1, 1, "firmware [--yes|--no] FILE"))
        return ExitUsage;
    CliPlayer player(c);
    if (const int result = player.connect(); result != ExitDone)
        return result;
    const QFileInfo file(parsed.positional[0]);
    if (!file.isFile() || !file.isReadable()) {
        c.err << "zvdctl: cannot read the firmware file " << parsed.positional[0] << '\n';
        return ExitFailed;
    }
    CliPrompt prompt(cliAnswer(parsed), c.err);
    const MessageTexts& texts = player.texts();
    if (!prompt.askYesNo(texts.firmAsk + QStringLiteral("\r\n") + file.absoluteFilePath(), texts.title))
        return answered(c, prompt, ExitDone);
    return exitStatusFor(
        PlayerMaintenance::UpgradeFirmware(player.session(), prompt, file.absoluteFilePath()));
}

int lang(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseOrUsage(c, {}, {}, parsed, 3, 3, "lang FILE SECTION KEY"))
        return ExitUsage;
    const auto value =
        mControlUI::ReadLangKey(parsed.positional[0], parsed.positional[1], parsed.positional[2]);
    if (!value) {
        c.err << "zvdctl: cannot open the language file " << parsed.positional[0] << '\n';
        return ExitFailed;
    }
    c.out << *value << '\n';
    return ExitDone;
}

CommandRegistrar statusCommand{"status", "status", &status};
CommandRegistrar listCommand{"ls", "ls [--view audio|record|hdd|all]", &list};
CommandRegistrar removeCommand{"rm", "rm [--yes|--no] NAME...", &remove};
CommandRegistrar moveCommand{"mv", "mv NAME TARGET", &move};
CommandRegistrar renameCommand{"rename", "rename NAME NEWNAME", &rename};
CommandRegistrar formatCommand{"format", "format [--low] [--yes|--no]", &format};
CommandRegistrar firmwareCommand{"firmware", "firmware [--yes|--no] FILE", &firmware};
CommandRegistrar langCommand{"lang", "lang FILE SECTION KEY", &lang};

} // namespace
