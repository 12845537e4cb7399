// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl tag set: the PC list's tag editing from the command line. The options are checked before
// any file is written, so a mistyped genre or year changes nothing.
#include "cli/CommandRegistry.h"

#include "audio/TagEdit.h"
#include "audio/TagError.h"

#include <QDir>

namespace
{

const char* const Usage = "usage: zvdctl tag set FILE... [--title T] [--artist A] [--album B] [--genre G] "
                          "[--year Y] [--track N]\n";

// The last value given for an option, or nothing when it was left out.
std::optional<QString> valueOf(const ParsedArgs& parsed, const char* option)
{
    std::optional<QString> value;
    for (const auto& [name, text] : parsed.values)
        if (name == QLatin1String(option))
            value = text;
    return value;
}

int runTag(CommandContext& context)
{
    QStringList args = context.args;
    if (args.isEmpty() || args.takeFirst() != QLatin1String("set")) {
        context.err << Usage;
        return ExitUsage;
    }
    ParsedArgs parsed;
    const QStringList options{QStringLiteral("--title"), QStringLiteral("--artist"),
                              QStringLiteral("--album"), QStringLiteral("--genre"),
                              QStringLiteral("--year"),  QStringLiteral("--track")};
    if (!parseArgs(args, {}, options, parsed, context.err))
        return ExitUsage;
    TagChanges changes{valueOf(parsed, "--title"), valueOf(parsed, "--artist"), valueOf(parsed, "--album"),
                       valueOf(parsed, "--year"),  valueOf(parsed, "--track"),  std::nullopt};
    if (const auto genre = valueOf(parsed, "--genre")) {
        // An empty genre clears it; anything else must be a name of the list or a number.
        const int number = genre->trimmed().isEmpty() ? 255 : TagEdit::genreNumber(*genre);
        if (number < 0) {
            context.err << "zvdctl: \"" << *genre
                        << "\" is neither a genre name (see zvdctl genre N) nor a number 0-255\n";
            return ExitUsage;
        }
        changes.genre = quint8(number);
    }
    if (parsed.positional.isEmpty() || changes.isEmpty()) {
        context.err << Usage;
        return ExitUsage;
    }
    if (const QString problem = TagEdit::problem(changes); !problem.isEmpty()) {
        context.err << "zvdctl: " << problem << '\n';
        return ExitUsage;
    }
    int status = ExitDone;
    for (const QString& file : parsed.positional) {
        try {
            TagEdit::apply(file, changes);
        } catch (const TagError& error) {
            context.err << "zvdctl: " << error.description() << '\n';
            status = ExitFailed;
        }
    }
    return status;
}

CommandRegistrar tagCommand{
    "tag",
    "tag set FILE... --title T   edit MP3 tags (also --artist, --album, --genre, --year, "
    "--track; an option left out keeps the file's value)",
    &runTag};

} // namespace
