// SPDX-License-Identifier: MIT
#include "ui/textfield.h"

#include "ui/historykeys.h"
#include "ui/textfieldaccessible.h"
#include "ui/typinglimitvalidator.h"

#include <algorithm>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace glimra {

namespace {

// Full-width forms (４, Ｆ) are what a Japanese input method makes of plain keys.
QString plainAsciiOf(const QString &text)
{
    constexpr char16_t FullWidthFirst = 0xFF01, FullWidthLast = 0xFF5E, FullWidthShift = 0xFEE0;
    QString plain = text;
    for (QChar &c : plain) {
        if (c.unicode() >= FullWidthFirst && c.unicode() <= FullWidthLast)
            c = QChar(c.unicode() - FullWidthShift);
    }
    return plain;
}

bool holdsFiles(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

} // namespace

TextField::TextField(int typingLimit, QWidget *parent)
    : QLineEdit(parent), m_validator(new TypingLimitValidator(typingLimit, this))
{
    InstallTextFieldAccessibility();
    setValidator(m_validator);
    connect(this, &QLineEdit::textChanged, m_validator, &TypingLimitValidator::setPreviousText);
    // textEdited comes for typing and pasting only, with the caret where the user left it.
    connect(this, &QLineEdit::textEdited, this, &TextField::changed);
    connect(this, &QLineEdit::textEdited, this, &TextField::edited);
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
    m_change = Change::Written;
    emit changed();
    m_change = Change::Typed;
}

int TextField::caret() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

QRect TextField::caretRectAt(int offset) const
{
    const QFontMetrics metrics = fontMetrics();
    const QString shown = text();
    return cursorRect().translated(metrics.horizontalAdvance(shown.left(offset)) -
                                       metrics.horizontalAdvance(shown.left(cursorPosition())),
                                   0);
}

QString TextField::fitting(const QString &text, qsizetype freed) const
{
    qsizetype room = typingLimit() - (this->text().size() - freed);
    if (room > 0 && room < text.size() && text[room - 1].isHighSurrogate())
        --room;
    return text.left(qMax<qsizetype>(room, 0));
}

void TextField::pasteWithinLimit(QClipboard::Mode mode)
{
    // Desktop fields paste as much as fits; QLineEdit would refuse the whole text.
    const QString part = fitting(QGuiApplication::clipboard()->text(mode), selectedText().size());
    if (part.isEmpty())
        return;
    m_change = Change::Pasted;
    insert(part);
    m_change = Change::Typed;
}

bool TextField::event(QEvent *event)
{
    // The field's own undo would go behind the editor's history: its keys are the window's,
    // and so is Ctrl+C where the field has nothing selected to copy.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeyCombination pressed = key->keyCombination();
        const bool paste = pressed == PasteKey || pressed == OtherPasteKey;
        if (IsHistoryKey(key) || (pressed == CopyKey && !hasSelectedText()) ||
            (paste && m_pasteByWindow)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TextField::setPlainAscii()
{
    m_plainAscii = true;
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
}

QVariant TextField::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // QLineEdit answers that it takes input methods whatever its attribute says, and an
    // input method left in kana mode then swallows every key.
    if (query == Qt::ImEnabled && m_plainAscii)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void TextField::inputMethodEvent(QInputMethodEvent *event)
{
    if (m_plainAscii) {
        // Typed key by key, so that a full code moves the focus on and the rest goes to the
        // next field, as typing does. A preedit is never shown.
        event->accept();
        for (const QChar c : plainAsciiOf(event->commitString())) {
            QKeyEvent key(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QWidget *focus = QApplication::focusWidget();
            QCoreApplication::sendEvent(focus ? focus : this, &key);
        }
        return;
    }
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // A conversion too long for the room left lands cut, as a paste does; QLineEdit would
    // refuse the whole of it.
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(
        fitting(event->commitString(), selectedText().size() + event->replacementLength()),
        event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
    event->setAccepted(cut.isAccepted());
}

void TextField::dragEnterEvent(QDragEnterEvent *event)
{
    // Files are for the window to open, not their names for the field to take.
    if (holdsFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void TextField::dropEvent(QDropEvent *event)
{
    m_change = Change::Pasted;
    dropText(event);
    m_change = Change::Typed;
}

void TextField::dropText(QDropEvent *event)
{
    // Text dragged within the field is only moved there.
    if (event->source() == this || !event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    // The drop lands where the pointer is, not over the selection: nothing makes way.
    const QString part = fitting(event->mimeData()->text(), 0);
    if (part.isEmpty()) {
        event->ignore();
        return;
    }
    QMimeData fitted;
    fitted.setText(part);
    QDropEvent drop(event->position(), event->possibleActions(), &fitted, event->buttons(),
                    event->modifiers());
    QLineEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
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
        const QString caption = action->text().section(u'\t', 0, 0);
        if (caption == QLineEdit::tr("&Paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { pasteWithinLimit(); });
        } else if (caption == QLineEdit::tr("&Undo") || caption == QLineEdit::tr("&Redo")) {
            action->disconnect();
            action->setEnabled(true);
            connect(action, &QAction::triggered, this,
                    caption == QLineEdit::tr("&Undo") ? &TextField::undoAsked
                                                      : &TextField::redoAsked);
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
    // Coming back from another window or a context menu is no new visit to the field: a
    // code half typed before must not be selected and overwritten.
    const bool comingBack =
        event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (!comingBack)
        TellFocusFirst(this);
    QLineEdit::focusInEvent(event);
    if (comingBack)
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
