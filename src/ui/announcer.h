// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QWidget>

namespace glimra {

/// What the program says to a screen reader without showing anything more: a notification
/// that appears to it, named with the text, each time something is announced. Texts
/// announced within one command are said together, in order, once it has run. Takes no
/// room and no focus.
class Announcer : public QWidget
{
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent = nullptr);

    void announce(const QString &text);
    /// What was said last.
    QString text() const { return m_text; }

private:
    void speak();

    QStringList m_pending;
    QString m_text;
};

} // namespace glimra
