// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <QStringList>

namespace glimra {

/// The kinds of thing that can stand where a glyph file is expected but is none, on this
/// system; "missing" (nothing at all) and "folder" on every one.
QStringList nonRegularKinds();

/// Puts one of `kind` in `folder`, or finds one that the system has, and returns its path;
/// empty when that could not be done.
QString makeNonRegularFile(const QString &kind, const QString &folder);

/// What the system's own code page 932 converter makes of `bytes`; nothing where it
/// refuses them.
std::optional<QString> systemDecode932(const QByteArray &bytes);
/// What it makes of one UTF-16 unit; nothing where it has no bytes for it.
std::optional<QByteArray> systemEncode932(char16_t unit);

/// Gives `file` a second name, as a hard link.
bool linkFile(const QString &file, const QString &name);

/// From now on, as on a disk that has failed, every write to a file fails; false lets them
/// through again. False where the system cannot do that.
bool failFileWrites(bool fail);

/// The most memory this process has used so far, in bytes.
qint64 peakMemory();

} // namespace glimra
