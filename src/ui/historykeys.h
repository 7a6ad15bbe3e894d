// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyEvent>
#include <QKeySequence>
#include <QList>

namespace glimra {

/// The keys of the editor's one history: Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo.
inline QList<QKeySequence> UndoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
}

inline QList<QKeySequence> RedoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
}

inline bool IsHistoryKey(const QKeyEvent *event)
{
    const QKeySequence pressed(event->keyCombination());
    return UndoKeys().contains(pressed) || RedoKeys().contains(pressed);
}

} // namespace glimra
