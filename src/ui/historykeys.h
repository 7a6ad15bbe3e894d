// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyEvent>

namespace glimra {

/// The keys of the editor's one history: Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo.
/// A text field leaves them to the window.
inline constexpr QKeyCombination UndoKey = Qt::CTRL | Qt::Key_Z;
inline constexpr QKeyCombination RedoKey = Qt::CTRL | Qt::Key_Y;
inline constexpr QKeyCombination OtherRedoKey = Qt::CTRL | Qt::SHIFT | Qt::Key_Z;
/// Copies the glyph, where no text is selected.
inline constexpr QKeyCombination CopyKey = Qt::CTRL | Qt::Key_C;
/// Paste a glyph line, or text into a code field.
inline constexpr QKeyCombination PasteKey = Qt::CTRL | Qt::Key_V;
inline constexpr QKeyCombination OtherPasteKey = Qt::SHIFT | Qt::Key_Insert;

inline bool IsHistoryKey(const QKeyEvent *event)
{
    const QKeyCombination pressed = event->keyCombination();
    return pressed == UndoKey || pressed == RedoKey || pressed == OtherRedoKey;
}

} // namespace glimra
