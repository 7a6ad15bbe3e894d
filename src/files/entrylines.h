// SPDX-License-Identifier: MIT
#pragma once

#include "files/checkedfilelines.h"

#include <functional>
#include <optional>
#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace glimra {

/// The list's entries, each kept as the bytes of its glyph file line: a list costs about
/// what its file does, and an entry becomes text only when it is shown, read or saved.
/// Kept in blocks of a thousand or so, so that a removal moves one block's bytes.
class EntryLines
{
public:
    int size() const { return m_count; }
    /// The list entry text, exactly as it was appended or as the line gives it.
    QString text(int row) const;

    void append(const QString &entry);
    void appendFileLines(const CheckedFileLines &lines);
    void remove(int row);
    /// An entry as it is kept, to put back where it was with `insertKept`: a list can take
    /// back a removed entry, or one it held before, without writing it afresh.
    QByteArray kept(int row) const;
    void insertKept(int row, QByteArrayView kept);
    /// Bytes this list takes in memory, about.
    qsizetype memory() const;
    /// The first row from `from` on, going round past the end, whose entry starts with
    /// `prefix` in any case; -1 when none does.
    int findStartingWith(QStringView prefix, int from) const;
    void clear();

    /// Every entry's file line with CR LF, in pieces of many lines; lines read from a file
    /// that saving would write alike are copied as they are. Empty when a name has no code
    /// page 932 form. `working` is called after each piece.
    std::optional<QList<QByteArray>> fileLines(const std::function<void()> &working = {}) const;

private:
    struct Block
    {
        QByteArray bytes;
        std::vector<quint32> ends; // where each entry's bytes end within `bytes`
    };
    /// How an entry is kept: the first of its bytes.
    enum Form : char {
        LineAsWritten =
            'W',         // a file line that saving writes alike: its bytes are saved as they are
        OtherLine = 'L', // a file line whose entry saving writes otherwise
        EntryText = 'T', // an entry that no file line gives back alike: its UTF-16 text
    };

    Block &blockForAppend();
    /// Keeps the first rows of a block that has grown past twice the usual size and moves
    /// the rest to a new block after it.
    void split(std::size_t block);
    void push(Block &block, Form form, QByteArrayView bytes);
    /// The block holding `row`, and the row's place within it.
    std::pair<std::size_t, int> locate(int row) const;
    static QByteArrayView entryBytes(const Block &block, int index);

    std::vector<Block> m_blocks;
    std::vector<int> m_firstRows; // the first row of each block
    int m_count = 0;
};

} // namespace glimra
