// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

namespace glimra {

/// The program's small pictures.
enum class Picture { Program, New, Open, Save, Copy, Reverse, Figure };

/// One of the pictures, read from the XPM source compiled into the program: read so, no
/// image plugin is looked for, which a picture read from a file or resource costs at start.
QPixmap picture(Picture which);

} // namespace glimra
