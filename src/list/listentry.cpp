// SPDX-License-Identifier: MIT
#include "list/listentry.h"

namespace glimra {

namespace {

constexpr int NameStart = 18;
constexpr int NameLength = 30;

} // namespace

QString FormatListEntry(const CodeTexts &codes, const QString &name)
{
    return codes[0] + u' ' + codes[1] + u' ' + codes[2] + u' ' + codes[3] + u' ' + codes[4] +
           QStringLiteral("    ") + name;
}

CodeTexts codesAtFixedPositions(const QString &text)
{
    CodeTexts codes;
    for (int i = 0; i < ColumnCount; ++i)
        codes[i] = text.mid(3 * i, 2); // mid() gives a short or empty slice past the end
    return codes;
}

GlyphEntry ParseListEntry(const QString &text)
{
    return {codesAtFixedPositions(text), text.mid(NameStart, NameLength)};
}

} // namespace glimra
