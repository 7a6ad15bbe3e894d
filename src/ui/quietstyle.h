// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

/// Puts the application's style behind one that leaves out the menu bar's overflow arrow.
/// The window never narrows and its menus always fit, so the arrow never shows; loading its
/// picture alone made Qt open every image plugin it has, a tenth of the time the window
/// takes to start. Call once, before the first window.
void UseQuietStyle();

} // namespace glimra
