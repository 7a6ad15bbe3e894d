// SPDX-License-Identifier: MIT
#pragma once

#include "app/editor.h"
#include "scriptedplatform.h"
#include "ui/dotgrid.h"
#include "ui/listbox.h"
#include "ui/textfield.h"

#include <memory>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

namespace glimra {

/// The three refusals of a code check, spelled out here rather than taken from the code.
inline const QString RangeMessage = u"データの有効範囲は7Fまでです。"_qs;
inline const QString HexMessage = u"データには１６進法を入力してください。"_qs;
inline const QString InvalidMessage = u"データに不正な値が格納されたので、処理を中止します。"_qs;

/// Where a control designed at `twips` should stand, in logical pixels. Designed twips land
/// on whole pixels, except 260 twips (17.3 px), which rounds to 17.
inline QRect designedPixels(QRect twips)
{
    const auto pixel = [](int t) { return qRound(t / 15.0); };
    return {pixel(twips.x()), pixel(twips.y()), pixel(twips.width()), pixel(twips.height())};
}

/// A whole editor on screen with a scripted desktop, ready for clicks and typing.
struct TestEditor
{
    ScriptedPlatform platform;
    std::unique_ptr<Editor> editor;

    TestEditor() : editor(std::make_unique<Editor>(platform))
    {
        window().show();
        window().activateWindow();
        if (!QTest::qWaitForWindowActive(&window()))
            qWarning("main window did not become active");
    }

    MainWindow &window() { return editor->mainWindow(); }
    EntryModel &entries() { return editor->entries(); }
    /// Every entry of the list, in order.
    QStringList entryTexts()
    {
        QStringList texts;
        for (int i = 0; i < entries().count(); ++i)
            texts << entries().entry(i);
        return texts;
    }
    TextField *field(Field which) { return window().field(which); }
    QString text(Field which) { return window().text(which); }

    /// Types text the way an input method hands it over, one committed character at a time.
    static void commit(QWidget *widget, const QString &text)
    {
        for (QChar c : text) {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(widget, &event);
        }
    }

    /// Drops `data` on `widget` at `at` as a drag from another program ends there; false when
    /// nothing took it.
    static bool drop(QWidget *widget, const QMimeData &data, QPoint at)
    {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &drop);
        return drop.isAccepted();
    }

    /// Opens the widget's context menu from the keyboard and triggers the item whose caption
    /// starts with `caption`; false when it has none, or it is turned off.
    static bool triggerFromContextMenu(QWidget *widget, const QString &caption)
    {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, widget->rect().center(),
                                widget->mapToGlobal(widget->rect().center()));
        QApplication::sendEvent(widget, &event);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return false;
        const QList<QAction *> actions = menu->actions();
        const auto item = std::find_if(actions.begin(), actions.end(), [&](QAction *action) {
            return action->text().startsWith(caption);
        });
        const bool triggered = item != actions.end() && (*item)->isEnabled();
        if (triggered)
            (*item)->trigger();
        menu->close();
        return triggered;
    }

    /// Whether an input method that asks the widget may take its keys.
    static bool takesInputMethod(QWidget *widget)
    {
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(widget, &query);
        return query.value(Qt::ImEnabled).toBool();
    }

    QStringList codes()
    {
        QStringList texts;
        for (Field f : CodeFields)
            texts << text(f);
        return texts;
    }

    void clickDot(int column, int row) { stroke({cellCentre(column, row)}); }

    /// The left button pressed at the first point, in the grid's pixels, moved through the
    /// others and released at the last.
    void stroke(const QList<QPoint> &points)
    {
        DotGrid *grid = window().grid();
        QTest::mousePress(grid, Qt::LeftButton, {}, points.first());
        for (const QPoint &point : points.mid(1))
            QTest::mouseMove(grid, point);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, points.last());
    }

    QPoint cellCentre(int column, int row)
    {
        return window().grid()->cellRect(column, row).center();
    }

    void clickControl(const char *name)
    {
        auto *widget = window().findChild<QWidget *>(name);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }

    /// The grid read back as column codes, "41" style.
    QStringList dotCodes()
    {
        QStringList texts;
        for (int c = 1; c <= ColumnCount; ++c) {
            int value = 0;
            for (int r = 1; r <= RowCount; ++r)
                value |= window().dot(c, r) ? 1 << (r - 1) : 0;
            texts << QString::number(value, 16).toUpper().rightJustified(2, u'0');
        }
        return texts;
    }

    /// Sets the grid from codes without going through any operation.
    void setDots(const QStringList &texts)
    {
        for (int c = 1; c <= ColumnCount; ++c) {
            const int value = texts[c - 1].toInt(nullptr, 16);
            for (int r = 1; r <= RowCount; ++r) {
                window().setDot(c, r, value & (1 << (r - 1)));
                window().setPreviewDot(c, r, value & (1 << (r - 1)));
            }
        }
    }

    bool previewMatchesDots()
    {
        for (int c = 1; c <= ColumnCount; ++c) {
            for (int r = 1; r <= RowCount; ++r) {
                if (window().dot(c, r) != window().previewDot(c, r))
                    return false;
            }
        }
        return true;
    }

    void setCodes(const QStringList &texts)
    {
        for (int i = 0; i < ColumnCount; ++i)
            window().setText(CodeFields[i], texts[i]);
    }
};

} // namespace glimra
