// SPDX-License-Identifier: MIT
#include "ui/textfield.h"

#include "ui/typinglimitvalidator.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>

namespace glimra {

TextField::TextField(int typingLimit, QWidget *parent)
    : QLineEdit(parent), m_validator(new TypingLimitValidator(typingLimit, this))
{
    setValidator(m_validator);
    connect(this, &QLineEdit::textChanged, m_validator, &TypingLimitValidator::setPreviousText);
    // textEdited comes for typing and pasting only, with the caret where the user left it.
    connect(this, &QLineEdit::textEdited, this, &TextField::changed);
}

int TextField::typingLimit() const
{
    return m_validator->limit();
}

void TextField::writeText(const QString &text)
{
    m_validator->setProgramWrite(true);
    setText(text);
    m_validator->setProgramWrite(false);
    // setText leaves the caret at the end; a program write leaves it at the start.
    setCursorPosition(0);
    emit changed();
}

int TextField::caret() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TextField::pasteWithinLimit(QClipboard::Mode mode)
{
    const QString clip = QGuiApplication::clipboard()->text(mode);
    if (clip.isEmpty())
        return;
    // Desktop fields paste as much as fits; QLineEdit would refuse the whole text.
    qsizetype room = typingLimit() - (text().size() - selectedText().size());
    if (room > 0 && room < clip.size() && clip[room - 1].isHighSurrogate())
        --room;
    if (room > 0)
        insert(clip.left(room));
}

void TextField::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Paste && !isReadOnly()) {
        pasteWithinLimit();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextField::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction *action : menu->actions()) {
        // The shortcut, when shown, follows a tab.
        if (action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { pasteWithinLimit(); });
        }
    }
    menu->popup(event->globalPos());
}

void TextField::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteWithinLimit(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TextField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from another window or a context menu is no new visit to the field: a
    // code half typed before must not be selected and overwritten.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    emit gotFocus();
    // The mouse press that brought the focus comes next and would put the caret at the
    // click, undoing whatever selection the got-focus handling made.
    m_restoreSelectionOnPress = event->reason() == Qt::MouseFocusReason;
    m_focusSelectionStart = selectionStart();
    m_focusSelectionLength = selectionLength();
}

void TextField::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (m_restoreSelectionOnPress) {
        m_restoreSelectionOnPress = false;
        if (m_focusSelectionLength > 0)
            setSelection(m_focusSelectionStart, m_focusSelectionLength);
    }
}

} // namespace glimra
