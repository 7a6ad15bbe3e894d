// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <QValidator>

namespace glimra {

/// Refuses typing, pasting and input-method text that would take a field past its limit,
/// while never cutting what the program writes. Judges each edit against the text before
/// it, because QLineEdit stops undoing refused edits once its text was ever refused.
class TypingLimitValidator : public QValidator
{
    Q_OBJECT
public:
    TypingLimitValidator(int limit, QObject *parent);

    /// Characters the field will not take, on top of the limit.
    void setCharacterCheck(std::function<bool(QStringView)> acceptable);
    /// The text that the next edit starts from.
    void setPreviousText(const QString &text) { m_previous = text; }
    /// While set, everything is accepted: the program's own writes are never refused.
    void setProgramWrite(bool on) { m_programWrite = on; }

    int limit() const { return m_limit; }
    State validate(QString &input, int &pos) const override;

private:
    int m_limit;
    QString m_previous;
    bool m_programWrite = false;
    std::function<bool(QStringView)> m_acceptable;
};

} // namespace glimra
