// SPDX-License-Identifier: MIT
#include "glyph/glypheditor.h"

#include "core/editorstate.h"
#include "core/platformservices.h"

namespace glimra {

namespace {

// data_a → data_b → … → data_e → data_name: the focus targets list the fields in that order.
FocusTarget followingField(Field field)
{
    static_assert(int(FocusTarget::DataName) == int(Field::DataE) + 1);
    return FocusTarget(int(field) + 1);
}

} // namespace

GlyphEditor::GlyphEditor(EditorState &state, PlatformServices &platform)
    : m_state(state), m_platform(platform)
{
}

void GlyphEditor::toggleDot(int column, int row)
{
    setDot(column, row, !m_state.dot(column, row));
}

void GlyphEditor::setDot(int column, int row, bool on)
{
    if (m_state.dot(column, row) == on)
        return;
    m_state.setDot(column, row, on);
    m_state.setPreviewDot(column, row, on);
    gridToData();
}

void GlyphEditor::gridToData()
{
    for (int c = 1; c <= ColumnCount; ++c) {
        int value = 0;
        for (int r = 1; r <= RowCount; ++r) {
            if (m_state.dot(c, r))
                value += 1 << (r - 1);
        }
        m_state.setText(codeField(c), FormatColumnCode(value));
    }
}

CodeTexts GlyphEditor::codeTexts() const
{
    CodeTexts texts;
    for (int c = 1; c <= ColumnCount; ++c)
        texts[c - 1] = m_state.text(codeField(c));
    return texts;
}

CodeCheck GlyphEditor::normaliseCodeFields()
{
    const CodeCheck check = checkColumnCodes(codeTexts());
    for (int i = 0; i < ColumnCount; ++i) {
        if (check.filled[i])
            m_state.setText(CodeFields[i], check.texts[i]);
    }
    for (int i = 0; i < ColumnCount; ++i) {
        if (check.padded[i])
            m_state.setText(CodeFields[i], check.texts[i]);
    }
    return check;
}

void GlyphEditor::dataToGrid()
{
    const CodeCheck check = normaliseCodeFields();
    if (check.refusal != CodeRefusal::None) {
        m_platform.message(refusalMessage(check.refusal));
        return;
    }
    for (int c = 1; c <= ColumnCount; ++c) {
        int value = check.values[c - 1];
        for (int r = 1; r <= RowCount; ++r) {
            m_state.setDot(c, r, value % 2 == 1);
            value /= 2;
        }
    }
    refreshPreview();
}

void GlyphEditor::refreshPreview()
{
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r)
            m_state.setPreviewDot(c, r, m_state.dot(c, r));
    }
}

void GlyphEditor::codeFieldChanged(Field field)
{
    if (m_state.caret(field) != 2)
        return;
    m_state.setFocus(followingField(field));
    dataToGrid();
}

void GlyphEditor::codeFieldFocused(Field field)
{
    m_state.select(field, 0, 2);
}

void GlyphEditor::invert()
{
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r)
            m_state.setDot(c, r, !m_state.dot(c, r));
    }
    refreshPreview();
    gridToData();
    m_platform.beep();
    m_state.setStatus(QString::fromUtf16(messages::Inverted));
}

void GlyphEditor::move(int columns, int rows)
{
    // Each dot takes the state of the dot it comes from, read before any is written.
    redraw([=](int c, int r) {
        const auto from = [](int place, int by, int count) {
            return (place - 1 - by % count + count) % count + 1;
        };
        return std::pair{from(c, columns, ColumnCount), from(r, rows, RowCount)};
    });
}

void GlyphEditor::mirror(Qt::Orientation across)
{
    redraw([=](int c, int r) {
        return across == Qt::Horizontal ? std::pair{ColumnCount + 1 - c, r}
                                        : std::pair{c, RowCount + 1 - r};
    });
}

void GlyphEditor::redraw(const std::function<std::pair<int, int>(int, int)> &source)
{
    bool dots[ColumnCount + 1][RowCount + 1] = {};
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r)
            dots[c][r] = m_state.dot(c, r);
    }
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r) {
            const auto [fromColumn, fromRow] = source(c, r);
            m_state.setDot(c, r, dots[fromColumn][fromRow]);
        }
    }
    refreshPreview();
    gridToData();
}

void GlyphEditor::reset2()
{
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r)
            m_state.setDot(c, r, false);
    }
    refreshPreview();
    for (Field field : CodeFields)
        m_state.setText(field, QStringLiteral("00"));
    m_state.setText(Field::DataName, QString());
}

void GlyphEditor::toggleQuickPreview()
{
    m_state.setQuickPreview(!m_state.quickPreview());
}

} // namespace glimra
