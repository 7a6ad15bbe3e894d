// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

class QAbstractButton;

namespace glimra {

/// Gives the buttons one font, the largest up to their own that lets every caption fit
/// inside its designed width with a margin: the designs' narrow buttons were made for a
/// smaller desktop font than today's.
void fitCaptions(const QList<QAbstractButton *> &buttons);

} // namespace glimra
