// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

/// Gives every list box an accessible interface that answers for the rows on screen and
/// the selected row, and tells the list's size and each row's place as a table does, so
/// that a screen reader never has to walk a million entries. Safe to call more than once.
void InstallListBoxAccessibility();

} // namespace glimra
