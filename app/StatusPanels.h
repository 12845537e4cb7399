// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A status bar of text panels (sbrFile, sbrStatus), numbered from 1 as the window refers to them.
#pragma once

#include <QFrame>
#include <QList>

class QHBoxLayout;
class QLabel;

class StatusPanels : public QFrame
{
    Q_OBJECT
public:
    // stretch: one factor per panel; 0 keeps a panel at the width of its text.
    StatusPanels(const QList<int>& stretch, QWidget* parent = nullptr);

    void setText(int panel, const QString& text);
    QString text(int panel) const;
    QLabel* panel(int panel) const;
    // Places a widget right after the given panel (the capacity bar beside the capacity text).
    void insertAfter(int panel, QWidget* widget);

private:
    QHBoxLayout* m_layout;
    QList<QLabel*> m_panels;
};
