// SPDX-License-Identifier: MIT
#pragma once

class QAbstractButton;

namespace glimra {

/// Enter and Return press `button` while it has the focus, as Space does: the desktop the
/// editor's design comes from works that way, Qt's buttons outside a dialog do not.
void pressOnReturn(QAbstractButton *button);

} // namespace glimra
