// SPDX-License-Identifier: MIT
#include "ui/textfieldaccessible.h"

#include "ui/textfield.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTimer>

namespace glimra {

namespace {

class TextFieldAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface
{
public:
    explicit TextFieldAccessible(TextField *field)
        : QAccessibleWidget(field, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !field()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return field()->text();
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = field()->placeholderText();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !field()->isReadOnly();
        state.readOnly = field()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // The text interface.
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && field()->hasSelectedText()) {
            *start = field()->selectionStart();
            *end = field()->selectionEnd();
        }
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            field()->deselect();
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            field()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return field()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(field()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QString text = field()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        const QFontMetrics metrics = field()->fontMetrics();
        const QRect caret = field()->caretRectAt(offset);
        const QRect local(caret.left(), caret.top(), metrics.horizontalAdvance(text.at(offset)),
                          caret.height());
        return local.translated(field()->mapToGlobal(QPoint()));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return field()->cursorPositionAt(field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int end) override { field()->setCursorPosition(end); }
    // A field has one look throughout: one run, the whole text.
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                         int *end) const override
    {
        const QString text = field()->text();
        *start = *end = -1;
        if (offset < 0 || offset > text.size())
            return {};
        if (boundary == QAccessible::CharBoundary || boundary == QAccessible::WordBoundary) {
            if (offset == text.size())
                return {};
            QTextBoundaryFinder finder(boundary == QAccessible::CharBoundary
                                           ? QTextBoundaryFinder::Grapheme
                                           : QTextBoundaryFinder::Word,
                                       text);
            finder.setPosition(offset);
            *start = finder.isAtBoundary() ? offset : int(finder.toPreviousBoundary());
            finder.setPosition(offset);
            *end = int(finder.toNextBoundary());
            return text.mid(*start, *end - *start);
        }
        // One line: the sentence, the paragraph and the line are all of it.
        *start = 0;
        *end = int(text.size());
        return text;
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                             int *end) const override
    {
        int atStart = 0, atEnd = 0;
        textAtOffset(offset, boundary, &atStart, &atEnd);
        if (atStart <= 0 || boundary > QAccessible::WordBoundary) {
            *start = *end = -1;
            return {};
        }
        return textAtOffset(atStart - 1, boundary, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                            int *end) const override
    {
        int atStart = 0, atEnd = 0;
        textAtOffset(offset, boundary, &atStart, &atEnd);
        if (atEnd < 0 || atEnd >= characterCount() || boundary > QAccessible::WordBoundary) {
            *start = *end = -1;
            return {};
        }
        return textAtOffset(atEnd, boundary, start, end);
    }

    // The editable text interface: as if typed, within the field's rules.
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        field()->setSelection(start, end - start);
        field()->insert(text);
    }

private:
    TextField *field() const { return static_cast<TextField *>(widget()); }
};

QAccessibleInterface *textFieldFactory(const QString &, QObject *object)
{
    auto *field = qobject_cast<TextField *>(object);
    return field ? new TextFieldAccessible(field) : nullptr;
}

// A screen reader takes a caret that moves in a field which holds the focus by the time it
// hears of it as the focus moving there, unannounced, and then says nothing of the focus
// event itself. So the field's focus is told first, before its own handling moves the
// caret, and Qt's telling of it afterwards, a duplicate, is left out; and the caret of a
// field without the focus, which the program writes, is not told at all.
QAccessible::UpdateHandler systemUpdate = nullptr;
QPointer<TextField> focusToldFirst;
void updateWithFocusFirst(QAccessibleEvent *event)
{
    // Any line edit: a dialog's fields get their caret as it opens, before its window has
    // the focus.
    auto *edit = qobject_cast<QLineEdit *>(event->object());
    if (edit &&
        (event->type() == QAccessible::TextCaretMoved ||
         event->type() == QAccessible::TextSelectionChanged) &&
        !edit->hasFocus())
        return;
    if (edit && event->type() == QAccessible::Focus && edit == focusToldFirst) {
        focusToldFirst.clear();
        return;
    }
    QAccessible::installUpdateHandler(systemUpdate);
    QAccessible::updateAccessibility(event);
    systemUpdate = QAccessible::installUpdateHandler(updateWithFocusFirst);
}

} // namespace

void InstallTextFieldAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(textFieldFactory);
        systemUpdate = QAccessible::installUpdateHandler(updateWithFocusFirst);
        return true;
    }();
    Q_UNUSED(installed);
}

void TellFocusFirst(TextField *field)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent focused(field, QAccessible::Focus);
    QAccessible::updateAccessibility(&focused);
    focusToldFirst = field;
    // Qt's own telling follows within the same focus change, if at all.
    QTimer::singleShot(0, field, [] { focusToldFirst.clear(); });
}

} // namespace glimra
