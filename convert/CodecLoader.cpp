// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The converter as the programs see it: each call goes to the module, loaded on the first one.
// A module that is missing or from another build turns every conversion into a clear refusal
// (the file is not sent), as a build without FFmpeg does.
#include "convert/CodecModule.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

namespace
{

struct LoadedModule {
    const CodecModule::Functions* functions = nullptr;
    QString error;
};

// Beside the program; a test program of the build tree (in its tests folder) takes the one the
// build put beside the real programs, in the sibling bin folder.
QStringList candidatePaths()
{
    const QDir program(AppPaths::programFolder());
    QStringList paths{program.filePath(QLatin1String(CodecModule::FileName))};
    if (program.dirName() == QLatin1String("tests"))
        paths.append(program.filePath(QLatin1String("../bin/")) + QLatin1String(CodecModule::FileName));
    return paths;
}

LoadedModule load()
{
    LoadedModule loaded;
    QStringList errors;
    for (const QString& path : candidatePaths()) {
        if (!QFileInfo::exists(path)) {
            errors.append(path + QLatin1String(": not found"));
            continue;
        }
        // Never closed: the module's code may still be on a worker's stack when the program ends.
        void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            errors.append(QString::fromLocal8Bit(::dlerror()));
            continue;
        }
        const auto entry = reinterpret_cast<CodecModule::Entry>(::dlsym(handle, CodecModule::EntryName));
        const CodecModule::Functions* functions = entry ? entry() : nullptr;
        if (!functions || functions->layout != CodecModule::Layout) {
            errors.append(path + QLatin1String(": not the converter module of this build"));
            ::dlclose(handle);
            continue;
        }
        loaded.functions = functions;
        return loaded;
    }
    loaded.error =
        QStringLiteral("the converter module could not be loaded (%1); convert the file to MP3 first")
            .arg(errors.join(QLatin1String("; ")));
    return loaded;
}

// Loaded once per process, by whichever thread converts first.
const LoadedModule& module()
{
    static const LoadedModule loaded = load();
    return loaded;
}

} // namespace

namespace Mp3Converter
{

ConversionResult convert(const QString& source, const QString& target, const ConversionQuality& quality,
                         const CancelCheck& cancelled)
{
    if (const CodecModule::Functions* functions = module().functions)
        return functions->convert(source, target, quality, cancelled);
    ConversionResult result;
    result.error = module().error;
    return result;
}

double duration(const QString& source)
{
    const CodecModule::Functions* functions = module().functions;
    return functions ? functions->duration(source) : 0;
}

qint64 estimatedSize(const QString& source, const ConversionQuality& quality)
{
    const CodecModule::Functions* functions = module().functions;
    return functions ? functions->estimatedSize(source, quality) : 0;
}

} // namespace Mp3Converter
