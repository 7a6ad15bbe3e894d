// SPDX-License-Identifier: MIT
// Five arbitrary field texts through the code check: no crash, and an accepted set is five
// two-digit hexadecimal codes of at most 7F, each with its message otherwise.
#include "glyph/columncode.h"

#include <cstdlib>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The input is UTF-8; a line feed separates the five texts.
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList parts = input.split(u'\n');
    glimra::CodeTexts texts;
    for (int i = 0; i < glimra::ColumnCount; ++i)
        texts[i] = parts.value(i);
    const glimra::CodeCheck check = glimra::checkColumnCodes(texts);
    if (check.refusal == glimra::CodeRefusal::None) {
        for (int i = 0; i < glimra::ColumnCount; ++i) {
            const int value = check.values[i];
            if (value < 0 || value > 0x7F ||
                check.texts[i].toUpper() != glimra::FormatColumnCode(value))
                std::abort();
        }
    } else if (glimra::refusalMessage(check.refusal).isEmpty()) {
        std::abort();
    }
    return 0;
}
