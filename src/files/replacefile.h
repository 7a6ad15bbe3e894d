// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <functional>
#include <QByteArrayView>
#include <QList>
#include <QString>

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

/// Takes one piece of new contents; false stops the making of the rest.
using PutPiece = std::function<bool(QByteArrayView piece)>;
/// Makes new contents piece by piece, handing each to `put`, so that none of them need be
/// held; false when it could not make them all. Asked again, it makes the same pieces.
using MakeContents = std::function<bool(const PutPiece &put)>;
/// Puts the pieces that `make` makes, in order, in place of the file's contents, or creates the
/// file. The old file keeps everything but its contents: owner, group, mode, ACL and extended
/// attributes, and a link stays a link. It is replaced through a new file once every byte
/// is on disk. Where such a file cannot be made the same as the old one, it is written in
/// place, after a whole copy of it is on disk: beside it, or where its folder takes no new
/// file, in the user's own data folder. Whenever the program stops, the file holds its old
/// contents or the new, or the copy holds the old. On a failure the file stays as it was,
/// unless `keptCopy` says where its old contents are. A file without write permission, for
/// anyone or for this user, is refused.
/// Nothing is put in place unless `make` made every piece; it may be asked more than once.
Replaced ReplaceFileContents(const QString &path, const MakeContents &make,
                             const WriteFault &fault);
/// The same for pieces already made.
inline Replaced ReplaceFileContents(const QString &path, const QList<QByteArray> &pieces,
                                    const WriteFault &fault)
{
    return ReplaceFileContents(
        path, [&](const PutPiece &put) { return std::all_of(pieces.begin(), pieces.end(), put); },
        fault);
}

} // namespace glimra
