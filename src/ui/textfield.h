// SPDX-License-Identifier: MIT
#pragma once

#include <QClipboard>
#include <QLineEdit>

namespace glimra {

class TypingLimitValidator;

/// A single-line field with a typing limit that the program's writes ignore, a change
/// signal that fires for typing and for program writes alike, and a got-focus signal.
class TextField : public QLineEdit
{
    Q_OBJECT
public:
    TextField(int typingLimit, QWidget *parent);

    int typingLimit() const;
    TypingLimitValidator *typingValidator() const { return m_validator; }

    /// Replaces the whole text, uncut, leaving the caret at 0 with nothing selected, then
    /// signals the change.
    void writeText(const QString &text);
    /// Start of the selection, or the caret when nothing is selected.
    int caret() const;
    /// Where the caret would stand before the character at `offset`, in the field.
    QRect caretRectAt(int offset) const;
    /// Pastes as much of the clipboard's text as the typing limit leaves room for.
    void pasteWithinLimit(QClipboard::Mode mode = QClipboard::Clipboard);
    /// Keeps input methods out: what one sends all the same, its full-width forms included,
    /// is typed as the plain keys it stands for.
    void setPlainAscii();
    /// Ctrl+V and Shift+Insert go to the window, which may paste into the field itself.
    void leavePasteToWindow() { m_pasteByWindow = true; }
    using QLineEdit::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    /// How the text last changed: typed, pasted or dropped, or written by the program.
    enum class Change { Typed, Pasted, Written };
    Change lastChange() const { return m_change; }

signals:
    /// The text changed, by the user's hand or by a program write.
    void changed();
    /// The text changed by the user's hand.
    void edited();
    void gotFocus();
    /// Undo or Redo chosen in the context menu: the editor's history, not the field's own.
    void undoAsked();
    void redoAsked();

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    /// As much of `text` as the typing limit leaves room for once `freed` characters of the
    /// field's text make way for it.
    QString fitting(const QString &text, qsizetype freed) const;
    /// Takes dropped text, cut to the room left, or moves text dragged within the field.
    void dropText(QDropEvent *event);

    TypingLimitValidator *m_validator;
    bool m_restoreSelectionOnPress = false;
    int m_focusSelectionStart = 0;
    int m_focusSelectionLength = 0;
    bool m_plainAscii = false;
    Change m_change = Change::Typed;
    bool m_pasteByWindow = false;
};

} // namespace glimra
