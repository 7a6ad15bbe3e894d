// SPDX-License-Identifier: MIT
#pragma once

#include "core/editorstate.h"

#include <array>
#include <QString>

namespace glimra {

using CodeTexts = std::array<QString, ColumnCount>;

/// Two upper-case hexadecimal digits: 0 gives "00", 127 gives "7F".
QString FormatColumnCode(int value);

/// One of the 22 characters 0-9, A-F, a-f; nothing outside ASCII passes.
bool isHexCodeCharacter(QChar c);

/// The first rule that refused a set of five code texts, in the order they are checked.
enum class CodeRefusal { None, TooLong, NotHexadecimal, OutOfRange };

/// The five code texts in their accepted form and what it took to get there.
struct CodeCheck
{
    CodeTexts texts;                        ///< the texts as far as normalising got
    std::array<bool, ColumnCount> filled{}; ///< empty, rewritten as "00" (always done first)
    std::array<bool, ColumnCount> padded{}; ///< one character, given a leading "0"
    CodeRefusal refusal = CodeRefusal::None;
    std::array<int, ColumnCount> values{}; ///< meaningful only when nothing was refused
};

/// Applies the accepted-form rules to the five field texts: empty fields become "00", a text
/// over two characters refuses the lot, a single character gets a leading "0", every character
/// must be hexadecimal and every value at most 7F. Lower case is accepted and kept.
CodeCheck checkColumnCodes(const CodeTexts &texts);

/// The message the user sees for a refusal.
QString refusalMessage(CodeRefusal refusal);

namespace messages {
inline constexpr char16_t InvalidData[] = u"データに不正な値が格納されたので、処理を中止します。";
inline constexpr char16_t NotHexadecimal[] = u"データには１６進法を入力してください。";
inline constexpr char16_t OutOfRange[] = u"データの有効範囲は7Fまでです。";
} // namespace messages

} // namespace glimra
