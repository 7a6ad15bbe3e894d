// SPDX-License-Identifier: MIT
#include "convert/sourcearray.h"

#include "convert/naming.h"

#include <limits>
#include <QIODevice>

namespace glimra::convert {

struct SourceArrayReader::Token
{
    enum Kind { Identifier, Number, String, Bytes, Comment, Punctuation } kind;
    QStringView text;
};

namespace {

bool startsWord(QChar c)
{
    return c == u'_' || (c.unicode() < 0x80 && c.isLetter());
}

bool inWord(QChar c)
{
    return startsWord(c) || (c.unicode() < 0x80 && c.isDigit());
}

/// The value of an ASCII hexadecimal digit; -1 for any other character.
int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'0' && u <= u'9'   ? u - u'0'
           : u >= u'a' && u <= u'f' ? u - u'a' + 10
           : u >= u'A' && u <= u'F' ? u - u'A' + 10
                                    : -1;
}

/// The value of a number as C or Python writes it; empty when it is not one.
std::optional<quint64> numberValue(QStringView text, Syntax syntax)
{
    // Read in place, without a copy: a big header holds millions of numbers.
    const char16_t separator = syntax == Syntax::C ? u'\'' : u'_';
    qsizetype end = text.size();
    if (syntax == Syntax::C)
        while (end > 0 && QStringView(u"uUlL").contains(text[end - 1]))
            --end;
    int base = 10;
    qsizetype at = 0;
    const QChar second = end > 1 ? text[1].toLower() : QChar();
    if (text[0] == u'0' &&
        (second == u'x' || second == u'b' || (second == u'o' && syntax == Syntax::Python))) {
        base = second == u'x' ? 16 : second == u'b' ? 2 : 8;
        at = 2;
    } else if (text[0] == u'0' && end > 1) {
        base = 8; // C's octal; Python allows only zeros here, which read alike
        at = 1;
    }
    if (at == end)
        return {};
    quint64 value = 0;
    for (; at < end; ++at) {
        const char16_t c = text[at].unicode();
        if (c == separator)
            continue;
        const int digit = hexDigit(c);
        if (digit < 0 || digit >= base ||
            value > (std::numeric_limits<quint64>::max() - quint64(digit)) / quint64(base))
            return {};
        if (syntax == Syntax::Python && base == 8 && text[1] != u'o' && text[1] != u'O' &&
            digit != 0)
            return {};
        value = value * quint64(base) + quint64(digit);
    }
    return value;
}

/// Where the literal that starts at `from` (its opening quote) ends, one past its closing
/// quote; -1 when the line ends first.
qsizetype literalEnd(QStringView line, qsizetype from, bool raw)
{
    const QChar quote = line[from];
    for (qsizetype i = from + 1; i < line.size(); ++i) {
        if (line[i] == u'\\' && !raw)
            ++i;
        else if (line[i] == quote)
            return i + 1;
    }
    return -1;
}

/// Decodes the escapes of a literal's body: C's and Python's, which agree on all but how
/// many digits `\x` takes.
QString unescape(QStringView body, bool python)
{
    constexpr QStringView Letters = u"ntrabfv\\\"'?";
    constexpr QStringView Meant = u"\n\t\r\a\b\f\v\\\"'?";
    QString text;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        const QChar next = i + 1 < body.size() ? body[i + 1] : QChar();
        if (c != u'\\' || next.isNull()) {
            text += c;
            continue;
        }
        ++i;
        if (const qsizetype letter = Letters.indexOf(next); letter >= 0) {
            text += Meant[letter];
            continue;
        }
        // Digits: up to three in octal; in hexadecimal two for Python's \x, as many as
        // follow for C's, four for \u and eight for \U.
        const bool octal = next >= u'0' && next <= u'7';
        const int most = octal ? 3 : next == u'x' ? (python ? 2 : 8) : next == u'u' ? 4 : 8;
        const int base = octal ? 8 : 16;
        const qsizetype from = octal ? i : i + 1;
        qsizetype n = 0;
        char32_t value = 0;
        for (; n < most && from + n < body.size(); ++n) {
            const int digit = hexDigit(body[from + n]);
            if (digit < 0 || digit >= base)
                break;
            value = value * char32_t(base) + char32_t(digit);
        }
        if ((octal || next == u'x' || next == u'u' || next == u'U') && n > 0 && value <= 0x10FFFF) {
            text += QString::fromUcs4(&value, 1);
            i = from + n - 1;
        } else {
            text += u'\\';
            text += next;
        }
    }
    return text;
}

} // namespace

std::optional<QString> StringLiteralText(QStringView literal, Syntax syntax)
{
    // Most names are written plainly: quotes round text without escapes.
    if (literal.size() >= 2 && literal.front() == u'"' && literal.back() == u'"' &&
        !literal.sliced(1, literal.size() - 2).contains(u'\\') &&
        !literal.sliced(1, literal.size() - 2).contains(u'"'))
        return literal.sliced(1, literal.size() - 2).toString();
    qsizetype quote = 0;
    while (quote < literal.size() && literal[quote] != u'"' && literal[quote] != u'\'')
        ++quote;
    if (quote == literal.size() || quote > 2 || literal.size() < quote + 2 ||
        literal.back() != literal[quote] || literalEnd(literal, quote, false) != literal.size())
        return {};
    const QString prefix = literal.first(quote).toString().toLower();
    // No prefix, or one of these: two spaces stand for none.
    constexpr QStringView Prefixes = u"  u u8 l r f ";
    if (!Prefixes.contains(u' ' + prefix + u' '))
        return {};
    const QStringView body = literal.sliced(quote + 1, literal.size() - quote - 2);
    return prefix == u"r" ? body.toString() : unescape(body, syntax == Syntax::Python);
}

void AppendCStringLiteral(QByteArray &out, QByteArrayView utf8)
{
    out += '"';
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = quint8(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if ((c == '/' && i > 0 && utf8[i - 1] == '*') || byte < 0x20 || byte == 0x7F) {
            // In octal: a slash after a star would end the comment that holds the literal.
            out += '\\';
            out += char('0' + (byte >> 6));
            out += char('0' + (byte >> 3 & 7));
            out += char('0' + (byte & 7));
        } else {
            out += c;
        }
    }
    out += '"';
}

SourceArrayReader::SourceArrayReader(Syntax syntax, const Options &options)
    : m_syntax(syntax), m_options(options)
{
}

bool SourceArrayReader::read(QIODevice &input, const TakeGlyph &take)
{
    m_take = &take;
    // Read a block at a time: the device may be unbuffered, and a line at a time from it
    // would be a system call a byte.
    QByteArray buffer;
    qsizetype start = 0;
    bool ended = false;
    while (m_state != State::Done) {
        qsizetype end = buffer.indexOf('\n', start);
        if (end < 0 && !ended) {
            buffer.remove(0, start);
            start = 0;
            const qsizetype had = buffer.size();
            buffer.resize(had + 64 * 1024);
            const qint64 got = input.read(buffer.data() + had, 64 * 1024);
            if (got < 0)
                return refuse(m_line + 1, m_glyphs, u"could not be read"_qs);
            buffer.resize(had + got);
            ended = got == 0;
            continue;
        }
        if (end < 0 && start == buffer.size())
            break;
        if (end < 0)
            end = buffer.size();
        ++m_line;
        QString line = QString::fromUtf8(QByteArrayView(buffer).sliced(start, end - start));
        start = qMin(end + 1, buffer.size());
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!scanLine(line))
            return false;
    }
    if (m_state == State::Done)
        return true;
    if (m_state == State::InArray)
        return refuse(m_line, m_glyphs,
                      m_syntax == Syntax::C ? u"the array does not end"_qs
                                            : u"the list does not end"_qs);
    const QString what = m_syntax == Syntax::C ? u"array"_qs : u"list"_qs;
    return refuse(-1, -1,
                  m_options.array.isEmpty() ? u"no %1 of numbers"_qs.arg(what)
                                            : u"no %1 named %2"_qs.arg(what, m_options.array));
}

bool SourceArrayReader::scanLine(QStringView line)
{
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < line.size() ? line[k] : QChar(); };
    if (m_syntax == Syntax::C && !m_inComment && line.trimmed().startsWith(u'#'))
        return true; // the preprocessor's
    while (m_state != State::Done) {
        if (m_inComment) {
            const qsizetype end = line.indexOf(u"*/", i);
            m_comment += line.sliced(i, (end < 0 ? line.size() : end) - i);
            if (end < 0) {
                m_comment += u'\n';
                break;
            }
            m_inComment = false;
            i = end + 2;
            if (!onToken({Token::Comment, m_comment}))
                return false;
            continue;
        }
        if (!m_longString.isNull()) {
            const qsizetype end = line.indexOf(QString(3, m_longString), i);
            if (end < 0)
                break;
            m_longString = QChar();
            i = end + 3;
            continue;
        }
        while (i < line.size() && line[i].isSpace())
            ++i;
        if (i == line.size())
            break;
        const QChar c = line[i];
        const bool cComment = m_syntax == Syntax::C && c == u'/' && at(i + 1) == u'*';
        if (cComment) {
            m_inComment = true;
            m_comment.clear();
            m_commentLine = m_line;
            i += 2;
        } else if ((m_syntax == Syntax::C && c == u'/' && at(i + 1) == u'/') ||
                   (m_syntax == Syntax::Python && c == u'#')) {
            m_commentLine = m_line;
            if (!onToken({Token::Comment, line.sliced(i + (c == u'#' ? 1 : 2))}))
                return false;
            break;
        } else if (startsWord(c) || c == u'"' || c == u'\'') {
            qsizetype end = i;
            while (end < line.size() && inWord(line[end]))
                ++end;
            const QChar quote = at(end);
            const QString prefix = line.sliced(i, end - i).toString().toLower();
            const bool bytes = prefix == u"b" || prefix == u"rb" || prefix == u"br";
            const bool raw = prefix.contains(u'r') && m_syntax == Syntax::Python;
            if ((quote == u'"' || quote == u'\'') && end - i <= 2) {
                if (m_syntax == Syntax::Python && at(end + 1) == quote && at(end + 2) == quote) {
                    const qsizetype close = line.indexOf(QString(3, quote), end + 3);
                    if (close < 0) {
                        m_longString = quote;
                        break;
                    }
                    i = close + 3;
                    continue;
                }
                const qsizetype close = literalEnd(line, end, raw);
                if (close < 0)
                    return refuse(m_line, m_glyphs, u"a string does not end on its line"_qs);
                if (!onToken({bytes ? Token::Bytes : Token::String, line.sliced(i, close - i)}))
                    return false;
                i = close;
            } else {
                if (!onToken({Token::Identifier, line.sliced(i, end - i)}))
                    return false;
                i = end;
            }
        } else if (c.unicode() < 0x80 && c.isDigit()) {
            qsizetype end = i;
            while (end < line.size() && (inWord(line[end]) || line[end] == u'\''))
                ++end;
            if (!onToken({Token::Number, line.sliced(i, end - i)}))
                return false;
            i = end;
        } else {
            if (!onToken({Token::Punctuation, line.sliced(i, 1)}))
                return false;
            ++i;
        }
    }
    if (m_state == State::InArray)
        return flushPending();
    if (m_syntax == Syntax::Python && m_state != State::Skip && m_depth == 0) {
        m_last.clear();
        m_beforeBracket.clear();
        if (m_state == State::AfterEquals)
            m_state = State::Seek;
    }
    return true;
}

bool SourceArrayReader::onToken(const Token &token)
{
    const QChar c = token.kind == Token::Punctuation ? token.text.front() : QChar();
    const bool opens = c == u'{' || c == u'[' || c == u'(';
    const bool closes = c == u'}' || c == u']' || c == u')';
    switch (m_state) {
    case State::Done:
        return true;
    case State::InArray:
        return onArrayToken(token);
    case State::Skip:
        m_depth += opens ? 1 : closes ? -1 : 0;
        if (m_depth == 0) {
            m_state = State::Seek;
            m_last.clear();
            m_beforeBracket.clear();
        }
        return true;
    case State::AfterEquals:
        if (c == (m_syntax == Syntax::C ? u'{' : u'[')) {
            m_depth = 1;
            const bool wanted = m_options.array.isEmpty() || m_options.array == m_arrayName;
            m_state = wanted ? State::InArray : State::Skip;
            return true;
        }
        m_state = State::Seek;
        m_last.clear();
        m_beforeBracket.clear();
        return true;
    case State::Seek:
        break;
    }
    if (token.kind == Token::Identifier) {
        m_last = token.text.toString();
    } else if (c == u'[') {
        if (m_beforeBracket.isEmpty())
            m_beforeBracket = m_last;
    } else if (c == u'=') {
        m_arrayName = m_beforeBracket.isEmpty() ? m_last : m_beforeBracket;
        m_state = m_arrayName.isEmpty() ? State::Seek : State::AfterEquals;
    } else if (c == u';' || c == u'{' || c == u'}') {
        m_last.clear();
        m_beforeBracket.clear();
    }
    return true;
}

bool SourceArrayReader::onArrayToken(const Token &token)
{
    switch (token.kind) {
    case Token::Number: {
        const std::optional<quint64> value = numberValue(token.text, m_syntax);
        return onNumber(value.value_or(0), value.has_value(), token.text);
    }
    case Token::Bytes: {
        if (!flushPending())
            return false;
        const qsizetype quote = token.text.indexOf(token.text.back());
        const QStringView body = token.text.sliced(quote + 1, token.text.size() - quote - 2);
        const bool raw = token.text.first(quote).contains(u'r', Qt::CaseInsensitive);
        for (const QChar byte : raw ? body.toString() : unescape(body, true))
            if (!onNumber(byte.unicode(), byte.unicode() < 0x100, token.text))
                return false;
        return true;
    }
    case Token::String:
        if (!flushPending())
            return false;
        m_nameBefore = StringLiteralText(token.text, m_syntax);
        return true;
    case Token::Comment:
        if (m_pending && m_commentLine == m_pendingLine) {
            const QStringView text = token.text.trimmed();
            const std::optional<QString> literal = StringLiteralText(text, m_syntax);
            m_pending->name = GlyphName(literal ? QStringView(*literal) : text, m_glyphs);
        }
        return true;
    case Token::Identifier:
        return refuse(m_line, m_glyphs, u"'%1' is not a number"_qs.arg(token.text));
    case Token::Punctuation:
        break;
    }
    const QChar c = token.text.front();
    if (c == u'{' || c == u'[' || c == u'(') {
        ++m_depth;
    } else if (c == u'}' || c == u']' || c == u')') {
        if (--m_depth == 0)
            return finishArray();
    } else if (c != u',') {
        return refuse(m_line, m_glyphs, u"'%1' where a number belongs"_qs.arg(c));
    }
    return true;
}

bool SourceArrayReader::onNumber(quint64 value, bool valid, QStringView text)
{
    if (!flushPending())
        return false;
    if (!valid)
        return refuse(m_line, m_glyphs, u"'%1' is not a number"_qs.arg(text));
    if (const auto why = TakeByte(m_glyph, m_options.layout, m_taken, value, m_options.crop))
        return refuse(m_line, m_glyphs, *why);
    if (++m_taken < BytesPerGlyph(m_options.layout))
        return true;
    m_pending = std::exchange(m_glyph, {});
    m_pendingLine = m_line;
    m_taken = 0;
    if (m_nameBefore)
        m_pending->name = GlyphName(*std::exchange(m_nameBefore, {}), m_glyphs);
    return true;
}

bool SourceArrayReader::flushPending()
{
    if (!m_pending)
        return true;
    Glyph glyph = *std::exchange(m_pending, {});
    if (glyph.name.isEmpty())
        glyph.name = QString::number(m_glyphs);
    ++m_glyphs;
    return (*m_take)(std::move(glyph));
}

bool SourceArrayReader::finishArray()
{
    m_state = State::Done;
    if (!flushPending())
        return false;
    if (m_taken != 0)
        return refuse(m_line, m_glyphs,
                      u"%1 numbers in all, not a multiple of %2"_qs
                          .arg(m_glyphs * BytesPerGlyph(m_options.layout) + m_taken)
                          .arg(BytesPerGlyph(m_options.layout)));
    return true;
}

} // namespace glimra::convert
