// SPDX-License-Identifier: MIT
#include "ui/pictures.h"

#include "ui/icons/copy.xpm"
#include "ui/icons/glimra.xpm"
#include "ui/icons/new.xpm"
#include "ui/icons/open.xpm"
#include "ui/icons/picture1.xpm"
#include "ui/icons/reverse.xpm"
#include "ui/icons/save.xpm"

namespace glimra {

QPixmap picture(Picture which)
{
    switch (which) {
    case Picture::Program:
        return QPixmap(glimra_xpm);
    case Picture::New:
        return QPixmap(new_xpm);
    case Picture::Open:
        return QPixmap(open_xpm);
    case Picture::Save:
        return QPixmap(save_xpm);
    case Picture::Copy:
        return QPixmap(copy_xpm);
    case Picture::Reverse:
        return QPixmap(reverse_xpm);
    case Picture::Figure:
        return QPixmap(picture1_xpm);
    }
    return {};
}

} // namespace glimra
