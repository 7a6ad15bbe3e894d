// SPDX-License-Identifier: MIT
#include "list/listentry.h"

#include <algorithm>

namespace glimra {

namespace {

constexpr int NameStart = 18;
constexpr int NameLength = 30;

} // namespace

QString FormatListEntry(const CodeViews &codes, QStringView name)
{
    // Built in one exact-size buffer: a file's worth of entries is made at once on Open.
    QString text;
    qsizetype size = 4 + 4 + name.size();
    for (QStringView code : codes)
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

QString FormatListEntry(const CodeTexts &codes, const QString &name)
{
    CodeViews views;
    std::copy(codes.begin(), codes.end(), views.begin());
    return FormatListEntry(views, name);
}

CodeViews codesAtFixedPositions(QStringView text)
{
    CodeViews codes;
    for (int i = 0; i < ColumnCount; ++i)
        codes[i] = text.mid(3 * i, 2); // mid() gives a short or empty slice past the end
    return codes;
}

GlyphEntry ParseListEntry(const QString &text)
{
    GlyphEntry entry{{}, text.mid(NameStart, NameLength)};
    const CodeViews codes = codesAtFixedPositions(text);
    for (int i = 0; i < ColumnCount; ++i)
        entry.codes[i] = codes[i].toString();
    return entry;
}

} // namespace glimra
