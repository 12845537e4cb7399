// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Syncing a folder to the player from the main window: the plan is shown first, in a dialog of
// its own; the sync then runs on a worker thread with the progress window and its Cancel, as a
// send does. The folder shown in the tree is offered first.
#include "app/frmMain.h"

#include "app/SyncDialog.h"
#include "app/TransferProgressDialog.h"
#include "app/WorkerThread.h"
#include "convert/ConversionQuality.h"
#include "transfer/TitleRenderer.h"

#include <QLabel>

void frmMain::syncFolderToPlayer()
{
    if (isBusy())
        return;
    // Converted files go at the quality the window's sends use.
    const ConversionQuality quality =
        ConversionQuality::parse(m_settings.conversionQuality).value_or(ConversionQuality());
    const auto planner = [this, quality](const QString& folder, SyncOptions options,
                                         const std::function<bool()>& stopped) {
        options.quality = quality;
        return prepareSync(m_session, folder, options, stopped);
    };
    // The plan reads the player on a thread of its own: the connection check must not call the
    // player meanwhile.
    const bool checking = m_tmrCheck.isActive();
    m_tmrCheck.stop();
    SyncDialog dialog(currentFolder(), planner, m_syncTexts, this);
    const int answer = dialog.exec();
    if (checking)
        m_tmrCheck.start();
    if (answer != QDialog::Accepted)
        return;
    SyncPreparation& prep = dialog.preparation();

    BeginBusy();
    TransferProgressDialog progress(m_texts.title, prep.plan.bytes(SyncItem::Action::Send), this,
                                    m_windowTexts);
    GuiThreadPrompt prompt(*m_prompt);
    GuiThreadObserver observer(progress);
    const QFont& font = m_settings.titleFont;
    SyncRequest request{m_session, prompt, m_settings.displayName,
                        titleBlockMaker(LcdTitleFont{font.family(), font.pointSizeF(), font.bold()}),
                        &observer};
    SyncOutcome outcome;
    WorkerThread::run([&] { outcome = runSync(request, prep.plan, prep.record, prep.recordPath); });
    progress.hide();
    showPlayerState();
    EndBusy();

    QString text = QString(m_syncTexts.done).arg(outcome.sent).arg(outcome.deleted).arg(outcome.moves);
    if (outcome.status == SyncOutcome::Status::Cancelled)
        text += QLatin1String("; ") + m_windowTexts.cancelled;
    else if (outcome.status != SyncOutcome::Status::Done)
        text += QLatin1String("; ") + m_windowTexts.failed;
    m_lblSummary->setText(text);
    if (!outcome.failures.isEmpty() ||
        (!outcome.notSent.isEmpty() && outcome.status != SyncOutcome::Status::Cancelled)) {
        QStringList lines = outcome.failures;
        for (const QString& name : outcome.notSent)
            lines << name;
        m_prompt->showMessage(m_syncTexts.problems + QLatin1String("\r\n") +
                                  lines.join(QLatin1String("\r\n")),
                              m_texts.title, Prompt::Icon::Warning);
    }
}
