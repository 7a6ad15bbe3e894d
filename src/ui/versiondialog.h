// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

namespace glimra {

/// Who made the editor and how to reach them. Modeless, and discarded when closed.
class VersionDialog : public QDialog
{
    Q_OBJECT
public:
    VersionDialog();
};

} // namespace glimra
