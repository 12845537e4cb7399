// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/WorkerThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <memory>

namespace WorkerThread
{

void run(const std::function<void()>& work)
{
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create(work));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    // A thread that finished before the loop started has already queued its quit.
    loop.exec();
    thread->wait();
}

void onGuiThread(const std::function<void()>& f)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(app, f, Qt::BlockingQueuedConnection);
}

} // namespace WorkerThread

bool GuiThreadPrompt::askYesNo(const QString& text, const QString& title)
{
    bool answer = false;
    WorkerThread::onGuiThread([&] { answer = m_inner.askYesNo(text, title); });
    return answer;
}

void GuiThreadPrompt::showMessage(const QString& text, const QString& title, Icon icon)
{
    WorkerThread::onGuiThread([&] { m_inner.showMessage(text, title, icon); });
}

bool GuiThreadPrompt::askToErase(const QString& text, const QString& title)
{
    bool answer = false;
    WorkerThread::onGuiThread([&] { answer = m_inner.askToErase(text, title); });
    return answer;
}

Prompt::Answer GuiThreadPrompt::askReplace(const QString& name, const QString& question, const QString& title)
{
    Answer answer = Answer::No;
    WorkerThread::onGuiThread([&] { answer = m_inner.askReplace(name, question, title); });
    return answer;
}

bool GuiThreadObserver::fileStarting(const TransferProgress& progress)
{
    bool go = false;
    WorkerThread::onGuiThread([&] { go = m_inner.fileStarting(progress); });
    return go;
}

void GuiThreadObserver::fileFinished(const TransferProgress& progress, bool ok)
{
    WorkerThread::onGuiThread([&] { m_inner.fileFinished(progress, ok); });
}
