// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl: the scriptable command line over ZVD's core.
#include "cli/CommandRegistry.h"
#include "core/AppPaths.h"
#include "device/DeviceHost.h"

#include "core/LocalPath.h"

#include <QGuiApplication>
#include <QStringConverter>

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{

void printUsage(QTextStream& err)
{
    err << "usage: zvdctl [--library PATH] [--device-host COMMAND] [--lang FILE] COMMAND [ARGS...]\n\n"
           "  --device-host COMMAND  reach the device library through a host that COMMAND starts\n"
           "                         (also ZVD_DEVICE_HOST), e.g. \"zvd-devhost libZVD_USB.so\"\n"
           "\ncommands:\n";
    for (const CommandInfo& command : registeredCommands())
        err << "  " << command.usage << '\n';
    err.flush();
}

// zvdctl runs where no desktop session exists; Qt's note about a missing runtime folder is
// noise to a script reading stderr.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, message)), stderr);
    std::fputc('\n', stderr);
}

// Only the commands that render LCD title blocks need Qt's graphics side; loading it (and the
// font configuration) costs the others more than their work on a folder of thousands of files.
bool rendersTitles(int argc, char** argv)
{
    int i = 1;
    while (i < argc && std::strncmp(argv[i], "--", 2) == 0)
        i += std::strcmp(argv[i], "--library") == 0 || std::strcmp(argv[i], "--lang") == 0 ||
                     std::strcmp(argv[i], "--device-host") == 0
                 ? 2
                 : 1;
    return i < argc && (std::strcmp(argv[i], "send") == 0 || std::strcmp(argv[i], "title") == 0 ||
                        std::strcmp(argv[i], "sync") == 0);
}

} // namespace

int main(int argc, char** argv)
{
    // Title blocks are rendered off screen; zvdctl never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    const std::unique_ptr<QCoreApplication> application =
        rendersTitles(argc, argv) ? std::make_unique<QGuiApplication>(argc, argv)
                                  : std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    // Arguments are read as file names are (UTF-8, else the player's code page), so a name copied
    // from an old Windows disk reaches the same file the scan lists. Qt's own reading would turn
    // such bytes into U+FFFD and lose the file.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(LocalPath::decodeArgument(argv[i]));
    CommandContext context{qEnvironmentVariable("ZVD_USB_LIBRARY"), QString(), {}, out, err};
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help")) {
            printUsage(out);
            out.flush();
            return ExitDone;
        }
        if (option == QLatin1String("--device-host") && !args.isEmpty()) {
            DeviceHost::setCommand(args.takeFirst());
            continue;
        }
        // A library named on the command line is loaded in process, whatever ZVD_DEVICE_HOST says;
        // --device-host still wins.
        if (option == QLatin1String("--library") && !args.isEmpty())
            qunsetenv("ZVD_DEVICE_HOST");
        if ((option == QLatin1String("--library") || option == QLatin1String("--lang")) && !args.isEmpty()) {
            (option == QLatin1String("--library") ? context.libraryPath : context.languageFile) =
                args.takeFirst();
            continue;
        }
        err << "zvdctl: unknown or incomplete option " << option << '\n';
        printUsage(err);
        return ExitUsage;
    }
    if (args.isEmpty()) {
        printUsage(err);
        return ExitUsage;
    }
    // Short-lived files of ours that a killed zvdctl or ZVD left beside the program go first.
    AppPaths::removeStaleTempFiles();
    const QString name = args.takeFirst();
    context.args = args;
    for (const CommandInfo& command : registeredCommands()) {
        if (name == QLatin1String(command.name)) {
            int status = command.run(context);
            if (context.laterFailure && status == ExitDone)
                status = ExitFailed;
            // A host that stopped mid-command leaves the player unreachable, whatever the command
            // made of its failed calls.
            if (DeviceHost::instance().hasStopped()) {
                err << "zvdctl: " << DeviceHost::instance().stopReason() << '\n';
                status = ExitNoPlayer;
            }
            out.flush();
            err.flush();
            return status;
        }
    }
    err << "zvdctl: unknown command " << name << '\n';
    printUsage(err);
    return ExitUsage;
}
