// SPDX-License-Identifier: MIT
#pragma once

// Texts that belong to whoever ships the editor rather than to the editor itself.
// A deployment changes them here and nowhere else.

namespace glimra::deployment {

/// Caption of every message box.
inline constexpr char16_t ApplicationTitle[] = u"Glimra絵エディッタ";
inline constexpr char16_t Author[] = u"Glimra絵エディッタ開発チーム";
inline constexpr char16_t AuthorMail[] = u"glimra-editor@example.org";
/// The name of the menu entry and the software centre's listing, reverse-DNS as they ask.
inline constexpr char16_t DesktopId[] = u"org.example.GlimraEditor";
/// Where users find the program, in --help, the manual page and the software centre.
inline constexpr char16_t HomePage[] = u"https://example.org/glimra/";
inline constexpr char16_t SampleDataSupplier[] = u"Glimra絵エディッタ開発チーム";
inline constexpr char16_t SampleDataAddress[] = u"https://example.org/glimra/";

} // namespace glimra::deployment
