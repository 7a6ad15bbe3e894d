// SPDX-License-Identifier: MIT
#include "convert/conversion.h"

#include "files/regularfile.h"
#include "files/replacefile.h"

#include <QFile>
#include <QFileInfo>

namespace glimra::convert {

namespace {

const QString Standard = u"-"_qs;

/// The input, opened afresh each time it is asked for: the safe replace may make the
/// output twice.
bool openInput(const QString &name, QFile &file)
{
    if (name == Standard)
        return file.open(stdin, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    return OpenRegularFile(name, file);
}

} // namespace

QString RefusalMessage(const QString &file, const Refusal &refusal)
{
    QString message = file == Standard ? u"(standard input)"_qs : file;
    if (refusal.line >= 0)
        message += u':' + QString::number(refusal.line);
    message += u": "_qs;
    if (refusal.glyph >= 0)
        message += u"glyph %1: "_qs.arg(refusal.glyph);
    return message + refusal.why;
}

Outcome Convert(const Conversion &conversion)
{
    std::optional<Refusal> refused;
    QStringList warnings;
    bool readable = true;
    const auto make = [&](const PutPiece &put) {
        QFile input;
        if (!openInput(conversion.input, input)) {
            readable = false;
            return false;
        }
        const std::unique_ptr<GlyphReader> reader = MakeReader(conversion.from, conversion.options);
        const std::unique_ptr<GlyphWriter> writer = MakeWriter(conversion.to, conversion.options);
        qint64 glyphs = 0;
        const bool read = reader->read(input, [&](Glyph &&glyph) {
            ++glyphs;
            return writer->write(glyph, put);
        });
        refused = reader->refusal();
        warnings.clear();
        for (const QString &warning : reader->warnings())
            warnings.append(RefusalMessage(conversion.input, {-1, -1, warning}));
        if (read && glyphs == 0)
            refused = Refusal{-1, -1, u"holds no glyph"_qs};
        return read && !refused && writer->finish(put);
    };

    bool written = false;
    if (conversion.output == Standard) {
        QFile out;
        written = out.open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) &&
                  make([&](QByteArrayView piece) {
                      return out.write(piece.data(), piece.size()) == piece.size();
                  }) &&
                  out.flush();
    } else {
        written = ReplaceFileContents(conversion.output, make, {}).written;
    }
    if (written)
        return {true, {}, warnings};
    if (!readable)
        return {false, RefusalMessage(conversion.input, {-1, -1, u"cannot be read"_qs}), {}};
    if (refused)
        return {false, RefusalMessage(conversion.input, *refused), warnings};
    const QString output =
        conversion.output == Standard ? u"(standard output)"_qs : conversion.output;
    return {false, RefusalMessage(output, {-1, -1, u"cannot be written"_qs}), {}};
}

} // namespace glimra::convert
