// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The inverted rectangle that shows where a dragged splitter bar will land. Drawn as a child
// overlay that inverts what lies beneath it, since a writable screen device context is not
// available on every platform.
#pragma once

#include <QWidget>

class SplitOutline : public QWidget
{
    Q_OBJECT
public:
    explicit SplitOutline(QWidget* owner);

protected:
    void paintEvent(QPaintEvent* event) override;
};
