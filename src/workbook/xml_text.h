// Text as spreadsheet XML stores it: characters that XML cannot hold are written as "_xHHHH_"
// (a CR as "_x000D_"), and a literal "_x0041_" in the text is written as "_x005F_x0041_".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace medravolix::workbook {

// Turns every "_xHHHH_" back into its character (UTF-16 pairs included), as UTF-8.
std::string decodeEscapes(std::string_view stored);
// Escapes the characters that XML cannot hold or would not keep (control characters, CR,
// U+FFFE, U+FFFF) and a literal "_xHHHH_". The text must be valid UTF-8.
std::string encodeEscapes(std::string_view text);

bool isValidUtf8(std::string_view text);
// The length as a spreadsheet counts it: UTF-16 code units.
std::size_t utf16Length(std::string_view utf8);

// The text with '&', '<', '>' and '"' written as XML entities (for templates of new parts).
std::string escapeXmlAttribute(std::string_view text);

}  // namespace medravolix::workbook
