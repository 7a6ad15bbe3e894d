// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

/// Gives the menus of a menu bar a screen reader's view in which a checkable item is a
/// check box, said "checked" or "not checked" in turn. Qt's own view cannot tell the
/// reader that an item can be ticked, so an item left unticked sounds like any other.
void InstallMenuAccessibility();

} // namespace glimra
