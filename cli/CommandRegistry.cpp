// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "cli/CommandRegistry.h"

namespace
{
std::vector<CommandInfo>& table()
{
    static std::vector<CommandInfo> commands;
    return commands;
}
} // namespace

CommandRegistrar::CommandRegistrar(const char* name, const char* usage, CommandFunction run)
{
    table().push_back({name, usage, run});
}

const std::vector<CommandInfo>& registeredCommands()
{
    return table();
}

QString ParsedArgs::value(const QString& option, const QString& fallback) const
{
    for (auto it = values.crbegin(); it != values.crend(); ++it)
        if (it->first == option)
            return it->second;
    return fallback;
}

bool parseArgs(const QStringList& args, const QStringList& flagOptions, const QStringList& valueOptions,
               ParsedArgs& parsed, QTextStream& err)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || !arg.startsWith(QLatin1String("-")) || arg == QLatin1String("-")) {
            parsed.positional << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (flagOptions.contains(arg)) {
            parsed.flags << arg;
        } else if (valueOptions.contains(arg)) {
            if (i + 1 >= args.size()) {
                err << "zvdctl: " << arg << " needs a value\n";
                return false;
            }
            parsed.values.append({arg, args[++i]});
        } else {
            err << "zvdctl: unknown option " << arg << '\n';
            return false;
        }
    }
    // Both answers at once is a slip of the user's, not a choice we may make for them.
    if (parsed.has(QStringLiteral("--yes")) && parsed.has(QStringLiteral("--no"))) {
        err << "zvdctl: --yes and --no cannot be given together\n";
        return false;
    }
    return true;
}
