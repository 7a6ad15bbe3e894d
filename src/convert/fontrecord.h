// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

namespace glimra::convert {

// How a font written here records the list it was made from: a property with the count,
// then, in list order, each glyph's code point and name, as many to a property as keep its
// line short (bdftopcf reads lines of up to 1024 bytes).
inline constexpr char RecordCountProperty[] = "GLIMRA_GLYPHS";
inline constexpr qsizetype LongestRecordValue = 900;

inline QByteArray RecordProperty(qsizetype part)
{
    return "GLIMRA_GLYPHS_" + QByteArray::number(part);
}

/// A name as the record holds it: percent-encoded, for a font's properties are ASCII and the
/// entries stand apart by spaces.
inline QByteArray RecordName(const QString &name)
{
    return QUrl::toPercentEncoding(name);
}

/// "0048 H": the code point and the name as `RecordName` gave it.
inline QByteArray RecordEntry(char32_t code, QByteArrayView recordName)
{
    QByteArray entry = QByteArray::number(code, 16).toUpper();
    entry += ' ';
    entry += recordName;
    return entry;
}

struct RecordedGlyph
{
    char32_t code;
    QString name;
};

/// The entries of one property; empty when it is not one of the record's.
inline std::optional<QList<RecordedGlyph>> ParseRecordValue(QByteArrayView value)
{
    const QList<QByteArray> words = value.toByteArray().split(' ');
    if (words.size() % 2 != 0)
        return {};
    QList<RecordedGlyph> glyphs;
    for (qsizetype i = 0; i < words.size(); i += 2) {
        bool ok = false;
        const uint code = words[i].toUInt(&ok, 16);
        if (!ok || code > 0x10FFFF)
            return {};
        glyphs.append({char32_t(code), QUrl::fromPercentEncoding(words[i + 1])});
    }
    return glyphs;
}

} // namespace glimra::convert
