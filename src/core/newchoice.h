// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

/// The choice made in the "new" dialog.
enum class NewChoice { None, NewData, NewFile };

} // namespace glimra
