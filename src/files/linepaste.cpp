// SPDX-License-Identifier: MIT
#include "files/linepaste.h"

#include "core/platformservices.h"
#include "files/fileline.h"
#include "glyph/glypheditor.h"

#include <QRegularExpression>

namespace glimra {

namespace {

constexpr int HighestCode = 0x7F;

// Two hexadecimal digits each, as a list entry and a glyph file line hold them.
const QString Code = QStringLiteral("([0-9A-Fa-f]{2})");

std::optional<GlyphLine> byPattern(QStringView text, const QRegularExpression &pattern)
{
    const QRegularExpressionMatch match = pattern.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    GlyphLine line;
    for (int i = 0; i < ColumnCount; ++i)
        line.codes[i] = match.captured(i + 1);
    line.name = match.captured(ColumnCount + 1);
    return line;
}

// Five codes in one of the ways a program's source writes bytes.
std::optional<GlyphLine> codesAlone(QStringView text)
{
    static const QRegularExpression braces(QStringLiteral(R"(^\{\s*(.*?)\s*,?\s*\}\s*[,;]?$)"));
    static const QRegularExpression apart(QStringLiteral("[\\s,]+"));
    static const QRegularExpression code(
        QStringLiteral("^(?:0[xX]|&[hH]|\\$)?([0-9A-Fa-f]{1,2})$|^([0-9A-Fa-f]{1,2})[hH]$"));
    const QRegularExpressionMatch braced = braces.match(text.toString());
    const QString inside = braced.hasMatch() ? braced.captured(1) : text.toString();
    const QStringList parts = inside.split(apart, Qt::SkipEmptyParts);
    if (parts.size() != ColumnCount)
        return std::nullopt;
    GlyphLine line;
    for (int i = 0; i < ColumnCount; ++i) {
        const QRegularExpressionMatch match = code.match(parts[i]);
        if (!match.hasMatch())
            return std::nullopt;
        const QString digits = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        line.codes[i] = FormatColumnCode(digits.toInt(nullptr, 16));
    }
    return line;
}

} // namespace

std::optional<GlyphLine> ParseGlyphLine(QStringView text)
{
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    if (text.contains(u'\n') || text.contains(u'\r'))
        return std::nullopt;
    static const QRegularExpression entry(QStringLiteral("^%1 %1 %1 %1 %1    (.*)$").arg(Code));
    static const QRegularExpression fileLine(QStringLiteral("^%1,%1,%1,%1,%1,\"(.*)\"$").arg(Code));
    if (std::optional<GlyphLine> line = byPattern(text, entry))
        return line;
    if (std::optional<GlyphLine> line = byPattern(text, fileLine))
        return line;
    return codesAlone(text.trimmed());
}

LinePaste::LinePaste(EditorState &state, PlatformServices &platform, GlyphEditor &editor)
    : m_state(state), m_platform(platform), m_editor(editor)
{
}

bool LinePaste::paste(const QString &text)
{
    const std::optional<GlyphLine> line = ParseGlyphLine(text);
    if (!line)
        return false;
    for (const QString &code : line->codes) {
        if (code.toInt(nullptr, 16) > HighestCode) {
            m_platform.message(refusalMessage(CodeRefusal::OutOfRange));
            return true;
        }
    }
    // As much of the name as the name field would have taken, typed.
    qsizetype kept = 0;
    while (kept < line->name.size() && kept < LongestName &&
           NameHolds(QStringView(line->name).sliced(kept, 1)))
        ++kept;
    m_state.setText(Field::DataName, line->name.left(kept));
    for (int i = 0; i < ColumnCount; ++i)
        m_state.setText(CodeFields[i], line->codes[i]);
    m_editor.dataToGrid();
    return true;
}

} // namespace glimra
