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

namespace {

// What an edit put in: the new text less what it shares with the old at both ends. A
// surrogate pair is never split.
QStringView insertedText(QStringView before, QStringView after)
{
    const qsizetype shortest = qMin(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shortest && before[prefix] == after[prefix])
        ++prefix;
    if (prefix > 0 && after[prefix - 1].isHighSurrogate())
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shortest - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate())
        --suffix;
    return after.mid(prefix, after.size() - prefix - suffix);
}

} // namespace

QValidator::State TypingLimitValidator::validate(QString &input, int &) const
{
    if (m_programWrite || input == m_previous)
        return Acceptable;
    // Over the limit only a shorter text is allowed, so deleting still works in a field the
    // program filled past it.
    if (input.size() > m_limit && input.size() >= m_previous.size())
        return Invalid;
    // Only what the edit brings in is judged: a refused character that the program wrote
    // earlier must not open the door to others.
    if (m_acceptable && !m_acceptable(insertedText(m_previous, input)))
        return Invalid;
    return Acceptable;
}

} // namespace glimra
