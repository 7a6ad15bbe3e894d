// SPDX-License-Identifier: MIT
#pragma once

#include "systemfiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTest>

namespace glimra {

/// A file's bytes, or a marker that no file can hold.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

/// Everything in a folder, hidden files included.
inline QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

/// The bytes of each copy of an old file that a save written in place left in a folder.
inline QByteArrayList keptCopies(const QString &folder)
{
    QByteArrayList copies;
    for (const QString &name : QDir(folder).entryList({"glimra-copy-*.glm"}, QDir::Files))
        copies.append(fileBytes(folder + '/' + name));
    return copies;
}

} // namespace glimra
