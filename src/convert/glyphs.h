// SPDX-License-Identifier: MIT
#pragma once

#include "core/editorstate.h"
#include "files/replacefile.h"

#include <array>
#include <functional>
#include <optional>
#include <QSize>
#include <QString>
#include <QStringList>

class QIODevice;

namespace glimra::convert {

/// One glyph on its way between formats: a byte a column, the top row bit 0, and a name.
struct Glyph
{
    std::array<quint8, ColumnCount> codes{};
    QString name;
    friend bool operator==(const Glyph &, const Glyph &) = default;
};

/// How the bytes of a glyph lie in a program's array.
enum class Layout {
    Columns, ///< five bytes, one a column, the top row bit 0
    Rows,    ///< eight bytes, one a row from the top, the left column bit 4, the last 0
};

/// What the command line says about reading and writing.
struct Options
{
    Layout layout = Layout::Columns;
    QString name;  ///< of the array or list written; empty for one made from the file name
    QString array; ///< of the array or list read; empty for the first
    bool crop = false;
    int columns = 16; ///< glyphs a row of a picture sheet
    std::optional<QSize> cell;
    std::optional<int> dot;
};

/// Where and why an input was refused. `line` and `glyph` count from 1 and 0; -1 where
/// they say nothing.
struct Refusal
{
    qint64 line = -1;
    qint64 glyph = -1;
    QString why;
};

/// Takes the next glyph read; false stops the reading.
using TakeGlyph = std::function<bool(Glyph &&glyph)>;

/// Reads one format. A refusal is a value: what went wrong and where.
class GlyphReader
{
public:
    virtual ~GlyphReader() = default;
    /// Hands every glyph of `input` to `take`, in order. False when the input was refused,
    /// with `refusal()` saying why, or when `take` stopped it.
    virtual bool read(QIODevice &input, const TakeGlyph &take) = 0;
    const std::optional<Refusal> &refusal() const { return m_refusal; }
    /// What was left out of a whole read, to be told.
    const QStringList &warnings() const { return m_warnings; }

protected:
    void addWarning(const QString &warning) { m_warnings.append(warning); }
    bool refuse(qint64 line, qint64 glyph, const QString &why)
    {
        m_refusal = Refusal{line, glyph, why};
        return false;
    }

private:
    std::optional<Refusal> m_refusal;
    QStringList m_warnings;
};

/// Writes one format, a glyph at a time, handing the bytes on as they are made.
class GlyphWriter
{
public:
    virtual ~GlyphWriter() = default;
    virtual bool write(const Glyph &glyph, const PutPiece &put) = 0;
    /// After the last glyph: what ends the file.
    virtual bool finish(const PutPiece &put) = 0;
};

} // namespace glimra::convert
