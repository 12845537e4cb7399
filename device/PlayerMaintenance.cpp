// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerMaintenance.h"

#include "core/AppPaths.h"
#include "core/LocalPath.h"
#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>

namespace PlayerMaintenance
{
namespace
{
// The block size the firmware conversion expects.
constexpr int32_t FirmwareBlockSize = 8192;
} // namespace

Outcome LowLevelFormat(PlayerSession& session, Prompt& prompt)
{
    if (!session.isConnected())
        return Outcome::NotConnected;
    if (!prompt.askYesNo(session.texts().formatLow, session.texts().title))
        return Outcome::Declined;
    const bool ok = session.library().FormatLow(session.owner(), session.handle(), 0);
    session.RefreshPlayerList();
    return ok ? Outcome::Done : Outcome::Failed;
}

Outcome UpgradeFirmware(PlayerSession& session, Prompt& prompt, const QString& firmwarePath)
{
    if (!session.isConnected())
        return Outcome::NotConnected;
    const MessageTexts& texts = session.texts();
    // The library opens the file itself and would wait for ever on a named pipe; a missing file it
    // reports as a failed conversion.
    if (const QString why = RegularFile::problem(firmwarePath);
        !why.isEmpty() && LocalPath::exists(firmwarePath)) {
        prompt.showMessage(texts.firmFail + QStringLiteral("\r\n") + firmwarePath + QStringLiteral(": ") +
                               why,
                           texts.title, Prompt::Icon::Critical);
        return Outcome::Failed;
    }
    // A fresh name: a user's own "~temp.bin" beside the program is never overwritten or removed.
    const QString image = AppPaths::createTempFile(QStringLiteral("~temp.bin"));
    bool upgraded = false;
    if (!image.isEmpty()) {
        // An empty image means the conversion failed, whatever it reported; writing nothing (or
        // half a firmware) to the player could leave it unable to start.
        const bool converted = session.library().ConvertHexToBin(firmwarePath, image, FirmwareBlockSize) &&
                               QFileInfo(image).size() > 0;
        upgraded = converted && session.library().UpgradeFirmware(session.owner(), session.handle(), 0, image,
                                                                  firmwarePath);
        QFile::remove(image);
    }
    if (!upgraded) {
        prompt.showMessage(texts.firmFail, texts.title, Prompt::Icon::Critical);
        return Outcome::Failed;
    }
    prompt.showMessage(texts.firmUp, texts.title, Prompt::Icon::Information);
    return Outcome::Done;
}

} // namespace PlayerMaintenance
