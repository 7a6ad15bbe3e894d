// SPDX-License-Identifier: MIT
// Glyph lists as PNG sheets: every glyph's dots drawn large with its name beneath, and a
// record of the layout and the names, so that reading a sheet back gives the same list.
#include "convert/formats.h"
#include "convert/naming.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QUrl>

namespace glimra::convert {

namespace {

/// The text key of the record: "cell=WxH dot=N", then each name on a line of its own.
const QString RecordKey = u"Glimra-Sheet"_qs;
constexpr int WrittenDot = 8;

struct Layout2D
{
    QSize cell;
    int dot = 1;
};

class PngWriter : public GlyphWriter
{
public:
    explicit PngWriter(const Options &options) : m_columns(qMax(1, options.columns)) {}

    bool write(const Glyph &glyph, const PutPiece &) override
    {
        m_glyphs.push_back(glyph);
        return true;
    }

    bool finish(const PutPiece &put) override
    {
        const QFont font = QGuiApplication::font();
        const QFontMetrics metrics(font);
        int width = ColumnCount * WrittenDot + 16;
        for (const Glyph &glyph : m_glyphs)
            width = qMax(width, metrics.horizontalAdvance(glyph.name) + 8);
        const QSize cell(width, RowCount * WrittenDot + 8 + metrics.height() + 8);
        const qsizetype count = qsizetype(m_glyphs.size());
        const int columns = int(qMin<qsizetype>(m_columns, qMax<qsizetype>(count, 1)));
        const qsizetype rows = (count + columns - 1) / columns;
        if (qint64(rows) * cell.height() > 32767 || qint64(columns) * cell.width() > 32767)
            return false;
        QImage sheet(columns * cell.width(), int(rows) * cell.height(), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        painter.setFont(font);
        QString record =
            u"cell=%1x%2 dot=%3\n"_qs.arg(cell.width()).arg(cell.height()).arg(WrittenDot);
        for (qsizetype i = 0; i < count; ++i) {
            const Glyph &glyph = m_glyphs[std::size_t(i)];
            const QPoint origin(int(i % columns) * cell.width(), int(i / columns) * cell.height());
            for (int column = 0; column < ColumnCount; ++column)
                for (int row = 0; row < RowCount; ++row) {
                    const bool lit = glyph.codes[column] >> row & 1;
                    painter.fillRect(origin.x() + column * WrittenDot,
                                     origin.y() + row * WrittenDot, WrittenDot - 1, WrittenDot - 1,
                                     lit ? QColor(Qt::black) : QColor(0xE4, 0xE4, 0xE4));
                }
            painter.setPen(Qt::black);
            painter.drawText(origin + QPoint(0, RowCount * WrittenDot + 8 + metrics.ascent()),
                             glyph.name);
            record += QString::fromLatin1(QUrl::toPercentEncoding(glyph.name)) + u'\n';
        }
        painter.end();
        sheet.setText(RecordKey, record);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        return sheet.save(&buffer, "PNG") && put(bytes);
    }

private:
    int m_columns;
    std::vector<Glyph> m_glyphs;
};

class PngReader : public GlyphReader
{
public:
    explicit PngReader(const Options &options) : m_options(options) {}

    bool read(QIODevice &input, const TakeGlyph &take) override
    {
        QImage sheet;
        if (!sheet.loadFromData(input.readAll(), "PNG"))
            return refuse(-1, -1, u"not a PNG picture"_qs);
        sheet = sheet.convertToFormat(QImage::Format_ARGB32);
        Layout2D layout;
        std::optional<QStringList> names;
        if (m_options.cell) {
            layout = {*m_options.cell, m_options.dot.value_or(1)};
        } else if (const QString record = sheet.text(RecordKey); !record.isEmpty()) {
            QStringList lines = record.split(u'\n');
            if (lines.last().isEmpty())
                lines.removeLast();
            const QRegularExpression head(u"^cell=(\\d{1,5})x(\\d{1,5}) dot=(\\d{1,5})$"_qs);
            const QRegularExpressionMatch match = head.match(lines.value(0));
            if (!match.hasMatch())
                return refuse(-1, -1, u"the sheet's record is broken"_qs);
            layout = {QSize(match.captured(1).toInt(), match.captured(2).toInt()),
                      match.captured(3).toInt()};
            names = lines.mid(1);
        } else {
            return refuse(-1, -1,
                          u"a picture not written here: --cell=WxH (and --dot=N) say how to "
                          "cut it"_qs);
        }
        if (layout.dot < 1 || layout.cell.width() < ColumnCount * layout.dot ||
            layout.cell.height() < RowCount * layout.dot)
            return refuse(
                -1, -1,
                u"cells of %1 x %2 pixels do not hold 5 x 7 dots of %3"_qs.arg(layout.cell.width())
                    .arg(layout.cell.height())
                    .arg(layout.dot));
        const int columns = sheet.width() / layout.cell.width();
        const qint64 cells = qint64(columns) * (sheet.height() / layout.cell.height());
        if (names && names->size() > cells)
            return refuse(-1, cells, u"the sheet's record names more glyphs than it holds"_qs);
        qint64 blanks = 0; // a run of blank cells: glyphs only if a glyph follows
        for (qint64 place = 0; place < (names ? names->size() : cells); ++place) {
            const QPoint origin(int(place % columns) * layout.cell.width(),
                                int(place / columns) * layout.cell.height());
            Glyph glyph;
            for (int column = 0; column < ColumnCount; ++column)
                for (int row = 0; row < RowCount; ++row) {
                    const QRgb pixel =
                        sheet.pixel(origin.x() + column * layout.dot + layout.dot / 2,
                                    origin.y() + row * layout.dot + layout.dot / 2);
                    // Over white: a transparent pixel is as light as the paper.
                    const int grey = 255 - (255 - qGray(pixel)) * qAlpha(pixel) / 255;
                    if (grey < 128)
                        glyph.codes[column] |= quint8(1 << row);
                }
            if (!names && glyph.codes == decltype(glyph.codes){}) {
                ++blanks;
                continue;
            }
            for (; blanks > 0; --blanks)
                if (!take({{}, QString::number(place - blanks)}))
                    return false;
            glyph.name = GlyphName(
                names ? QUrl::fromPercentEncoding(names->at(place).toUtf8()) : QString(), place);
            if (!take(std::move(glyph)))
                return false;
        }
        return true;
    }

private:
    const Options &m_options;
};

} // namespace

std::unique_ptr<GlyphWriter> MakePngWriter(const Options &options)
{
    return std::make_unique<PngWriter>(options);
}

std::unique_ptr<GlyphReader> MakePngReader(const Options &options)
{
    return std::make_unique<PngReader>(options);
}

} // namespace glimra::convert
