// SPDX-License-Identifier: MIT
#include "ui/typinglimitvalidator.h"

namespace glimra {

TypingLimitValidator::TypingLimitValidator(int limit, QObject *parent)
    : QValidator(parent), m_limit(limit)
{
}

void TypingLimitValidator::setCharacterCheck(std::function<bool(QStringView)> acceptable)
{
    m_acceptable = std::move(acceptable);
}

QValidator::State TypingLimitValidator::validate(QString &input, int &) const
{
    if (m_programWrite || input == m_previous)
        return Acceptable;
    // Over the limit only a shorter text is allowed, so deleting still works in a field the
    // program filled past it.
    if (input.size() > m_limit && input.size() >= m_previous.size())
        return Invalid;
    if (m_acceptable && !m_acceptable(input) && m_acceptable(m_previous))
        return Invalid;
    return Acceptable;
}

} // namespace glimra
