// SPDX-License-Identifier: MIT
#include "convert/formats.h"

#include "convert/sourcearray.h"

namespace glimra::convert {

namespace {

struct Named
{
    Format format;
    const char16_t *word;
    std::initializer_list<const char16_t *> endings;
};

const Named Formats[] = {
    {Format::Glm, u"glm", {u".glm"}},
    {Format::C, u"c", {u".h", u".c"}},
    {Format::Python, u"python", {u".py"}},
    {Format::Bdf, u"bdf", {u".bdf"}},
    {Format::Pcf, u"pcf", {u".pcf", u".pcf.gz"}},
    {Format::Png, u"png", {u".png"}},
};

} // namespace

std::optional<Format> FormatOfFileName(QStringView fileName)
{
    for (const Named &named : Formats)
        for (const char16_t *ending : named.endings)
            if (fileName.endsWith(QStringView(ending), Qt::CaseInsensitive))
                return named.format;
    return {};
}

std::optional<Format> FormatNamed(QStringView word)
{
    for (const Named &named : Formats)
        if (word == QStringView(named.word))
            return named.format;
    return {};
}

bool CanWrite(Format format)
{
    return format != Format::Pcf;
}

std::unique_ptr<GlyphReader> MakeReader(Format format, const Options &options)
{
    switch (format) {
    case Format::Glm:
        return MakeGlmReader(options);
    case Format::C:
        return std::make_unique<SourceArrayReader>(Syntax::C, options);
    case Format::Python:
        return std::make_unique<SourceArrayReader>(Syntax::Python, options);
    case Format::Bdf:
    case Format::Pcf:
        return MakeFontReader(options);
    case Format::Png:
        return MakePngReader(options);
    }
    return {};
}

std::unique_ptr<GlyphWriter> MakeWriter(Format format, const Options &options)
{
    switch (format) {
    case Format::Glm:
        return MakeGlmWriter();
    case Format::C:
        return MakeCWriter(options);
    case Format::Python:
        return MakePythonWriter(options);
    case Format::Bdf:
        return MakeBdfWriter(options);
    case Format::Png:
        return MakePngWriter(options);
    case Format::Pcf:
        break;
    }
    return {};
}

} // namespace glimra::convert
