// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/dlgFirm.h"

#include <QFileInfo>

dlgFirm::dlgFirm(FileChooser chooser) : m_chooser(chooser ? std::move(chooser) : StandardFileChooser()) {}

QString dlgFirm::filter()
{
    return QStringLiteral("Zelvox Firmware(*.ZVF)");
}

QString dlgFirm::show(QWidget* parent) const
{
    const QString chosen = m_chooser(parent, filter());
    if (chosen.isEmpty())
        return QString();
    return QFileInfo(chosen).absoluteFilePath();
}
