// SPDX-License-Identifier: MIT
#include "ui/menuaccessible.h"

#include <algorithm>
#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace glimra {

namespace {

bool dropsDownFromMenuBar(const QMenu *menu)
{
    const QList<QObject *> holders = menu->menuAction()->associatedObjects();
    return std::any_of(holders.begin(), holders.end(),
                       [](QObject *holder) { return qobject_cast<QMenuBar *>(holder); });
}

QMenu *menuBarMenuHolding(const QAction *item)
{
    for (QObject *holder : item->associatedObjects()) {
        auto *menu = qobject_cast<QMenu *>(holder);
        if (menu && dropsDownFromMenuBar(menu))
            return menu;
    }
    return nullptr;
}

class MenuAccessible : public QAccessibleWidget
{
public:
    explicit MenuAccessible(QMenu *menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    int childCount() const override { return int(menu()->actions().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QAction *> items = menu()->actions();
        return index >= 0 && index < items.size()
                   ? QAccessible::queryAccessibleInterface(items.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(menu()->actions().indexOf(qobject_cast<QAction *>(child->object())))
                     : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAction *item = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
        return item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    }
    // The menu bar it drops down from, while it is down.
    QAccessibleInterface *parent() const override
    {
        for (QObject *holder : menu()->menuAction()->associatedObjects()) {
            auto *bar = qobject_cast<QMenuBar *>(holder);
            if (bar && bar->isVisible())
                return QAccessible::queryAccessibleInterface(bar);
        }
        return QAccessibleWidget::parent();
    }
    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = menu()->title().remove(u'&');
        return text;
    }

private:
    QMenu *menu() const { return static_cast<QMenu *>(widget()); }
};

// An item: a check box where it can be ticked, which a reader says "checked" or "not
// checked"; a plain menu item otherwise.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MenuItemAccessible(QAction *item, QMenu *menu) : m_item(item), m_menu(menu) {}

    bool isValid() const override { return m_item && m_menu; }
    QObject *object() const override { return m_item; }
    QWindow *window() const override { return m_menu ? m_menu->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_menu);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_item->text().remove(u'&');
        if (t == QAccessible::Accelerator)
            return m_item->shortcut().toString(QKeySequence::NativeText);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        return m_menu->actionGeometry(m_item).translated(m_menu->mapToGlobal(QPoint()));
    }
    QAccessible::Role role() const override
    {
        if (m_item && m_item->isSeparator())
            return QAccessible::Separator;
        return m_item && m_item->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.invisible = !m_menu->isVisible() || !m_item->isVisible();
        state.focused = m_menu->activeAction() == m_item;
        state.focusable = true;
        state.checkable = m_item->isCheckable();
        state.checked = m_item->isChecked();
        state.disabled = !m_item->isEnabled() || m_item->isSeparator();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && m_item->isEnabled())
            m_item->trigger();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QAction> m_item;
    QPointer<QMenu> m_menu;
};

QAccessibleInterface *menuFactory(const QString &, QObject *object)
{
    if (auto *menu = qobject_cast<QMenu *>(object))
        return dropsDownFromMenuBar(menu) ? new MenuAccessible(menu) : nullptr;
    if (auto *item = qobject_cast<QAction *>(object)) {
        if (QMenu *menu = menuBarMenuHolding(item))
            return new MenuItemAccessible(item, menu);
    }
    return nullptr;
}

} // namespace

void InstallMenuAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(menuFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace glimra
