// SPDX-License-Identifier: MIT
#pragma once

#include "convert/glyphs.h"

namespace glimra::convert {

/// The language of a program's source that holds glyphs.
enum class Syntax { C, Python };

/// Reads the glyphs of one array of a C or Python source: its numbers in order, as the
/// language writes them, a glyph's worth at a time wherever the lines break, or the bytes
/// of Python's bytes literals. A glyph is named by a string that comes before its bytes
/// (a Python pair), or by a comment after its last number on the same line: a comment that
/// is one string literal gives that string, any other its trimmed text. Line by line, so
/// memory does not grow with the list.
class SourceArrayReader : public GlyphReader
{
public:
    SourceArrayReader(Syntax syntax, const Options &options);
    bool read(QIODevice &input, const TakeGlyph &take) override;

private:
    struct Token;
    enum class State { Seek, AfterEquals, Skip, InArray, Done };

    bool scanLine(QStringView line);
    bool onToken(const Token &token);
    bool onArrayToken(const Token &token);
    bool onNumber(quint64 value, bool valid, QStringView text);
    bool flushPending();
    bool finishArray();

    Syntax m_syntax;
    const Options &m_options;
    const TakeGlyph *m_take = nullptr;
    qint64 m_line = 0;
    State m_state = State::Seek;
    int m_depth = 0;
    QString m_last;          // the last identifier of the statement
    QString m_beforeBracket; // the identifier before the statement's first '['
    QString m_arrayName;
    bool m_inComment = false; // within a C block comment
    QString m_comment;
    qint64 m_commentLine = 0;
    QChar m_longString; // the quote of a Python triple-quoted string not yet ended
    Glyph m_glyph;
    int m_taken = 0; // bytes of m_glyph so far
    qint64 m_glyphs = 0;
    std::optional<Glyph> m_pending; // whole, waiting for a comment that names it
    qint64 m_pendingLine = 0;
    std::optional<QString> m_nameBefore;
};

/// The text of a C or Python string literal, `literal` holding its quotes (and prefix);
/// empty when it is none.
std::optional<QString> StringLiteralText(QStringView literal, Syntax syntax);

/// Appends the UTF-8 text `utf8` as a C string literal that gives it back exactly, fit to
/// stand in a comment.
void AppendCStringLiteral(QByteArray &out, QByteArrayView utf8);

} // namespace glimra::convert
