// SPDX-License-Identifier: MIT
#pragma once

#include "glyph/columncode.h"

#include <functional>
#include <QtGlobal>
#include <utility>

namespace glimra {

class EditorState;
class PlatformServices;

/// Drawing one glyph: the dot grid, the five column codes and the preview, kept in step
/// only where an operation says so.
class GlyphEditor
{
public:
    GlyphEditor(EditorState &state, PlatformServices &platform);

    /// A click on a dot cell: flips it and its preview cell, then rewrites the codes.
    void toggleDot(int column, int row);
    /// A stroke going over a dot: as a click, but the dot is to be `on`; a dot that already
    /// is stays as it is, and so do the codes.
    void setDot(int column, int row, bool on);
    /// Rewrites all five code fields from the grid in the written form.
    void gridToData();
    /// Redraws the grid and the preview from the five code fields, or shows why it cannot.
    void dataToGrid();
    void refreshPreview();

    /// A change of a code field's text: a caret at 2 means the second character has just
    /// been typed, so move on and decode.
    void codeFieldChanged(Field field);
    void codeFieldFocused(Field field);

    void invert();
    /// Moves the glyph by whole dots; what leaves one edge comes back at the other, so
    /// that no dot is lost. The codes are written from the grid.
    void move(int columns, int rows);
    /// Mirrors the glyph left to right, or top to bottom; the codes follow.
    void mirror(Qt::Orientation across);
    /// Clears the editor: no dot, codes "00", no name.
    void reset2();
    void toggleQuickPreview();

    /// Empty fields to "00" and single characters padded, written in field order as far as
    /// the checks allow; returns how far the rules got.
    CodeCheck normaliseCodeFields();
    CodeTexts codeTexts() const;

private:
    /// Sets each dot (c, r) to what the dot `source(c, r)` was, then the preview and codes.
    void redraw(const std::function<std::pair<int, int>(int, int)> &source);

    EditorState &m_state;
    PlatformServices &m_platform;
};

namespace messages {
inline constexpr char16_t Inverted[] = u"白黒反転処理をしました";
} // namespace messages

} // namespace glimra
