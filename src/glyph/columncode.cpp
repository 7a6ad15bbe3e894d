// SPDX-License-Identifier: MIT
#include "glyph/columncode.h"

namespace glimra {

QString FormatColumnCode(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

bool isHexCodeCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

CodeCheck checkColumnCodes(const CodeTexts &texts)
{
    CodeCheck check;
    check.texts = texts;
    for (int i = 0; i < ColumnCount; ++i) {
        if (check.texts[i].isEmpty()) {
            check.texts[i] = QStringLiteral("00");
            check.filled[i] = true;
        }
    }
    for (const QString &text : check.texts) {
        if (text.size() > 2) {
            check.refusal = CodeRefusal::TooLong;
            return check;
        }
    }
    for (int i = 0; i < ColumnCount; ++i) {
        if (check.texts[i].size() < 2) {
            check.texts[i].prepend(u'0');
            check.padded[i] = true;
        }
    }
    for (const QString &text : check.texts) {
        if (!isHexCodeCharacter(text[0]) || !isHexCodeCharacter(text[1])) {
            check.refusal = CodeRefusal::NotHexadecimal;
            return check;
        }
    }
    for (int i = 0; i < ColumnCount; ++i) {
        check.values[i] = check.texts[i].toInt(nullptr, 16);
        if (check.values[i] > 0x7F)
            check.refusal = CodeRefusal::OutOfRange;
    }
    return check;
}

QString refusalMessage(CodeRefusal refusal)
{
    switch (refusal) {
    case CodeRefusal::TooLong:
        return QString::fromUtf16(messages::InvalidData);
    case CodeRefusal::NotHexadecimal:
        return QString::fromUtf16(messages::NotHexadecimal);
    case CodeRefusal::OutOfRange:
        return QString::fromUtf16(messages::OutOfRange);
    case CodeRefusal::None:
        break;
    }
    return {};
}

} // namespace glimra
