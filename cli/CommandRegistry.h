// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The table of zvdctl commands. A command file registers itself with a static CommandRegistrar.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <vector>

// Exit statuses of zvdctl; scripts rely on them.
enum ExitStatus : int {
    ExitDone = 0,
    ExitFailed = 1,   // a device call or a file operation failed
    ExitUsage = 2,    // usage error, or a question nobody answered
    ExitNoPlayer = 3, // no player attached, or no device library
};

struct CommandContext {
    QString libraryPath;  // --library, else ZVD_USB_LIBRARY, else empty (beside the executable)
    QString languageFile; // --lang, else empty (the stored setting, else Language/english.lng)
    QStringList args;     // the command's own arguments
    QTextStream& out;     // UTF-8; only what scripts parse
    QTextStream& err;     // messages and usage
    // Set when something failed after the command had its result (closing the connection, shutting
    // the library down, reading the list afterwards): a command that otherwise succeeded then
    // exits with ExitFailed. The failure has been written to err.
    bool laterFailure = false;
};

using CommandFunction = int (*)(CommandContext&);

struct CommandInfo {
    const char* name;
    const char* usage;
    CommandFunction run;
};

class CommandRegistrar
{
public:
    CommandRegistrar(const char* name, const char* usage, CommandFunction run);
};

const std::vector<CommandInfo>& registeredCommands();

// Splits "--flag value" options off a command's arguments. Flags named in valueOptions take
// the next argument as their value. Returns false (and writes the reason) on an unknown option
// or a missing value.
struct ParsedArgs {
    QStringList positional;
    QStringList flags;                     // options without a value, e.g. "--yes"
    QList<QPair<QString, QString>> values; // options with a value, e.g. ("--view", "audio")
    bool has(const QString& flag) const { return flags.contains(flag); }
    QString value(const QString& option, const QString& fallback = QString()) const;
};
bool parseArgs(const QStringList& args, const QStringList& flagOptions, const QStringList& valueOptions,
               ParsedArgs& parsed, QTextStream& err);
