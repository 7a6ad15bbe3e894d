// SPDX-License-Identifier: MIT
#include "list/listentry.h"

namespace glimra {

namespace {

constexpr int NameStart = 18;
constexpr int NameLength = 30;

} // namespace

QString FormatListEntry(const CodeTexts &codes, const QString &name)
{
    // Built in one exact-size buffer: a file's worth of entries is made at once on Open.
    QString text;
    qsizetype size = 4 + 4 + name.size();
    for (const QString &code : codes)
        size += code.size();
    text.reserve(size);
    for (int i = 0; i < ColumnCount; ++i) {
        if (i > 0)
            text += u' ';
        text += codes[i];
    }
    text += QLatin1StringView("    ");
    text += name;
    return text;
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
