// SPDX-License-Identifier: MIT
#include "app/commandgate.h"

#include <QScopedValueRollback>
#include <QString>

namespace glimra {

void CommandGate::run(std::function<void()> command)
{
    if (m_waits > 0) {
        m_held.push_back(std::move(command));
        return;
    }
    {
        const QScopedValueRollback<int> running(m_running, m_running + 1);
        command();
    }
    if (m_running > 0)
        return;
    // In the order they came; one that waits in turn holds what arrives behind it.
    while (!m_held.empty()) {
        const std::function<void()> next = std::move(m_held.front());
        m_held.pop_front();
        const QScopedValueRollback<int> running(m_running, 1);
        next();
    }
}

void CommandGate::message(const QString &text)
{
    const QScopedValueRollback<int> waiting(m_waits, m_waits + 1);
    m_platform.message(text);
}

QString CommandGate::openFileName(const QString &current)
{
    const QScopedValueRollback<int> waiting(m_waits, m_waits + 1);
    return m_platform.openFileName(current);
}

QString CommandGate::saveFileName(const QString &current)
{
    const QScopedValueRollback<int> waiting(m_waits, m_waits + 1);
    return m_platform.saveFileName(current);
}

void CommandGate::stillWorking()
{
    const QScopedValueRollback<int> waiting(m_waits, m_waits + 1);
    m_platform.stillWorking();
}

} // namespace glimra
