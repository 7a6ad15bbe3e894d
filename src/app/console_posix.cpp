// SPDX-License-Identifier: MIT
#include "app/console.h"

#include <cstdio>

namespace glimra {

Written writeConsoleText(const QString &text, Stream stream)
{
    std::FILE *file = stream == Stream::Output ? stdout : stderr;
    const QByteArray bytes = text.toLocal8Bit();
    const bool whole =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
    return whole && std::fflush(file) == 0 ? Written::Done : Written::Failed;
}

void drawWithoutDisplay()
{
    // Fonts without an X server or a Wayland compositor, whatever the session names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace glimra
