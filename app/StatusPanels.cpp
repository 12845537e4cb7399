// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

StatusPanels::StatusPanels(const QList<int>& stretch, QWidget* parent)
    : QFrame(parent), m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(1, 1, 1, 1);
    m_layout->setSpacing(2);
    for (const int factor : stretch) {
        auto* label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setMinimumWidth(24);
        label->setSizePolicy(factor > 0 ? QSizePolicy::Ignored : QSizePolicy::Preferred,
                             QSizePolicy::Preferred);
        m_layout->addWidget(label, factor);
        m_panels.append(label);
    }
}

QLabel* StatusPanels::panel(int panel) const
{
    return panel >= 1 && panel <= m_panels.size() ? m_panels.at(panel - 1) : nullptr;
}

void StatusPanels::setText(int panel, const QString& text)
{
    if (QLabel* label = this->panel(panel))
        label->setText(text);
}

QString StatusPanels::text(int panel) const
{
    const QLabel* label = this->panel(panel);
    return label ? label->text() : QString();
}

void StatusPanels::insertAfter(int panel, QWidget* widget)
{
    const int at = m_layout->indexOf(this->panel(panel));
    m_layout->insertWidget(at + 1, widget);
}
