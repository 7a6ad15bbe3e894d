// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <QList>
#include <QString>

class QByteArray;

namespace glimra {

/// Asked before each piece is written; false makes the write fail there, as a full disk
/// would. Tests use it to fail; the editor, to keep its window painted during a long save.
using WriteFault = std::function<bool(int piece)>;

/// What putting new contents in a file's place came to.
struct Replaced
{
    bool written = false;
    /// A whole copy of the old file, left where it is because a write in place failed and
    /// its old bytes could not be put back; empty when there is none.
    QString keptCopy;
};

/// Puts the pieces, in order, in place of the file's contents, or creates the file.
/// The old file keeps everything but its contents: owner, group, mode, ACL and extended
/// attributes, and a link stays a link. It is replaced through a new file once every byte
/// is on disk. Where such a file cannot be made the same as the old one, it is written in
/// place, after a whole copy of it is on disk: beside it, or where its folder takes no new
/// file, in the user's own data folder. Whenever the program stops, the file holds its old
/// contents or the new, or the copy holds the old. On a failure the file stays as it was,
/// unless `keptCopy` says where its old contents are. A file without write permission, for
/// anyone or for this user, is refused.
Replaced ReplaceFileContents(const QString &path, const QList<QByteArray> &pieces,
                             const WriteFault &fault);

} // namespace glimra
