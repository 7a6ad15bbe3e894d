// SPDX-License-Identifier: MIT
#include "ui/textfield.h"

#include "ui/typinglimitvalidator.h"

#include <QFocusEvent>

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
