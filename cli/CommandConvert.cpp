// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl convert: another music format to a tagged MP3, without a player.
#include "cli/CommandRegistry.h"
#include "convert/ConversionQuality.h"
#include "convert/Mp3Converter.h"

#include <atomic>
#include <csignal>

namespace
{

std::atomic<bool> stopRequested{false};

extern "C" void onConvertInterrupt(int)
{
    stopRequested = true;
}

int runConvert(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseArgs(c.args, {}, {QStringLiteral("--quality")}, parsed, c.err))
        return ExitUsage;
    const std::optional<ConversionQuality> quality =
        ConversionQuality::parse(parsed.value(QStringLiteral("--quality"), QStringLiteral("V2")));
    if (parsed.positional.size() != 2 || !quality) {
        c.err << "usage: zvdctl convert [--quality V0..V9|CBR128|CBR192|CBR256|CBR320] IN OUT.mp3\n";
        return ExitUsage;
    }
    const QString& source = parsed.positional.at(0);
    // Ctrl+C stops the conversion and removes the partial MP3 instead of leaving it behind.
    stopRequested = false;
    auto* previous = std::signal(SIGINT, onConvertInterrupt);
    const ConversionResult result =
        Mp3Converter::convert(source, parsed.positional.at(1), *quality, [] { return stopRequested.load(); });
    std::signal(SIGINT, previous);
    if (!result.ok) {
        c.err << "zvdctl: " << source << ": " << result.error << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

CommandRegistrar convertCommand{
    "convert", "convert [--quality Q] IN OUT.mp3   another music format to a tagged MP3", &runConvert};

} // namespace
