// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

/// Gives every TextField a screen reader's view that reads its text whole. Qt's own view
/// of a line edit reports text attribute runs of no length, and a screen reader that
/// follows them reads all but the last character: "0" for "00", "7" for "7F".
void InstallTextFieldAccessibility();

class TextField;
/// Tells a screen reader that `field` has the focus, from its focus-in handling and before
/// the caret and selection that the handling sets; Qt tells it only after them. For a
/// focus moved within the window, not for a window coming back.
void TellFocusFirst(TextField *field);

} // namespace glimra
