// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window as the window benchmarks use it: settings pointing at a folder (written to the
// benchmark's private settings folder), the given device library or none, a fixed size.
#pragma once

#include "app/LocalFileView.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "device/mTCC730.h"
#include "tests/app/frmMainTestAccess.h"

#include <QAbstractItemView>
#include <QCoreApplication>

#include <memory>

struct BenchWindow {
    mTCC730 device;
    std::unique_ptr<frmMain> window;
    // With shown, the window is also loaded and shown, and its first events handled.
    explicit BenchWindow(const QString& folder, const QString& library = QString(), bool shown = false)
    {
        if (!library.isEmpty())
            device.load(library);
        auto store = SettingsStore::open();
        store->setValue(QStringLiteral("Display/PATH"), folder);
        store->setValue(QStringLiteral("Display/Language"), QString());
        store->sync();
        window = std::make_unique<frmMain>(device);
        window->resize(1000, 700);
        if (shown) {
            window->Load();
            window->show();
            QCoreApplication::processEvents();
        }
    }
    frmMainTestAccess ui() { return frmMainTestAccess(*window); }
    QAbstractItemView* view() { return ui().lvwFile()->currentView(); }
};
