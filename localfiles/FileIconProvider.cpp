// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FileIconProvider.h"

#include "localfiles/IconKey.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <limits>

namespace
{

// A plain sheet of paper with a folded corner, for desktops without an icon theme.
QIcon drawnGenericIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(80, 80, 80));
    painter.setBrush(Qt::white);
    const QPointF sheet[] = {{6, 2}, {20, 2}, {26, 8}, {26, 30}, {6, 30}};
    painter.drawPolygon(sheet, 5);
    painter.drawPolyline(QPolygonF({QPointF(20, 2), QPointF(20, 8), QPointF(26, 8)}));
    painter.end();
    return QIcon(pixmap);
}

QIcon genericFileIcon()
{
    static const QIcon generic = [] {
        QIcon icon = QAbstractFileIconProvider().icon(QAbstractFileIconProvider::File);
        if (icon.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance()))
            icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
        return icon.isNull() ? drawnGenericIcon() : icon;
    }();
    return generic;
}

} // namespace

QIcon FileIconProvider::shellIcon(const QString& path)
{
    if (path.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)) {
        const QIcon own(path); // loaded when first drawn
        if (!own.isNull())
            return own;
    }
    static const QMimeDatabase mimeDatabase;
    const QMimeType type = mimeDatabase.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon.isNull() ? genericFileIcon() : icon;
}

qint16 FileIconProvider::lookUp(ImageList& list, const QString& path)
{
    const QString key = mGetFileIcon::iconKey(path);
    const auto found = list.indexOfKey.constFind(key);
    if (found != list.indexOfKey.constEnd())
        return qint16(found.value());
    // Image indexes are 16-bit; past that, the last entry serves (never more than 32767 keys
    // in practice, but a folder of that many programs must not wrap the index).
    if (list.icons.size() >= std::numeric_limits<qint16>::max())
        return qint16(list.icons.size());
    list.icons.append(shellIcon(path));
    const int index = int(list.icons.size());
    list.indexOfKey.insert(key, index);
    return qint16(index);
}

qint16 FileIconProvider::GetICON16(const QString& path)
{
    return lookUp(m_sys16, path);
}

qint16 FileIconProvider::GetICON32(const QString& path)
{
    return lookUp(m_sys32, path);
}

QIcon FileIconProvider::icon16(int index) const
{
    return index >= 1 && index <= m_sys16.icons.size() ? m_sys16.icons.at(index - 1) : QIcon();
}

QIcon FileIconProvider::icon32(int index) const
{
    return index >= 1 && index <= m_sys32.icons.size() ? m_sys32.icons.at(index - 1) : QIcon();
}
