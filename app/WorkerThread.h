// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Runs a transfer's device calls on a worker thread while the window's thread keeps turning its
// event loop (repaints, Cancel, questions), and hands the worker's questions and progress back
// to the window's thread, where every widget lives.
#pragma once

#include "core/Prompt.h"
#include "transfer/TransferObserver.h"

#include <functional>

namespace WorkerThread
{

// Starts work on a new thread and returns when it has finished; the calling (window) thread
// runs its event loop meanwhile.
void run(const std::function<void()>& work);

// Calls f on the application's main thread and waits for it; called there, runs it at once.
void onGuiThread(const std::function<void()>& f);

} // namespace WorkerThread

// A prompt the worker may call: every question and notice is shown by the wrapped prompt on
// the window's thread.
class GuiThreadPrompt : public Prompt
{
public:
    explicit GuiThreadPrompt(Prompt& inner) : m_inner(inner) {}
    bool askYesNo(const QString& text, const QString& title) override;
    void showMessage(const QString& text, const QString& title, Icon icon) override;
    bool askToErase(const QString& text, const QString& title) override;
    Answer askReplace(const QString& name, const QString& question, const QString& title) override;

private:
    Prompt& m_inner;
};

// An observer the worker may call: the wrapped observer (the progress window) hears of each
// file on the window's thread.
class GuiThreadObserver : public TransferObserver
{
public:
    explicit GuiThreadObserver(TransferObserver& inner) : m_inner(inner) {}
    bool fileStarting(const TransferProgress& progress) override;
    void fileFinished(const TransferProgress& progress, bool ok) override;
    // Asked of the wrapped observer directly, from whichever thread asks: it must be thread-safe.
    bool stopRequested() const override { return m_inner.stopRequested(); }

private:
    TransferObserver& m_inner;
};
