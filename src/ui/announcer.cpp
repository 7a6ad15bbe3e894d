// SPDX-License-Identifier: MIT
#include "ui/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

namespace glimra {

namespace {

// A notification is what a screen reader speaks of its own accord when it appears.
class AnnouncerAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncerAccessible(Announcer *announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<Announcer *>(widget())->text() : QString();
    }
};

QAccessibleInterface *announcerFactory(const QString &, QObject *object)
{
    auto *announcer = qobject_cast<Announcer *>(object);
    return announcer ? new AnnouncerAccessible(announcer) : nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcerFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(0, 0);
}

void Announcer::announce(const QString &text)
{
    if (text.isEmpty())
        return;
    if (m_pending.isEmpty())
        QTimer::singleShot(0, this, &Announcer::speak);
    m_pending.append(text);
}

void Announcer::speak()
{
    m_text = m_pending.join(u'　');
    m_pending.clear();
    if (!QAccessible::isActive())
        return;
    // Hidden and shown again, as a new notification would be.
    QAccessibleEvent hidden(this, QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&hidden);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace glimra
