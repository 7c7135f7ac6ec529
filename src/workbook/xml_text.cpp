#include "workbook/xml_text.h"

#include <array>
#include <cstdint>
#include <optional>

namespace medravolix::workbook {

namespace {

int hexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

// The code unit of an "_xHHHH_" starting at pos, or nothing.
std::optional<std::uint32_t> escapeAt(std::string_view text, std::size_t pos) {
  if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') {
    return std::nullopt;
  }
  std::uint32_t unit = 0;
  for (std::size_t i = pos + 2; i < pos + 6; ++i) {
    const int digit = hexDigit(text[i]);
    if (digit < 0) return std::nullopt;
    unit = unit * 16 + static_cast<std::uint32_t>(digit);
  }
  return unit;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Length of the UTF-8 sequence at pos and its code point; length 0 when it is not valid.
std::size_t decodeUtf8(std::string_view text, std::size_t pos, std::uint32_t& cp) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, cp = lead & 0x1F;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3, cp = lead & 0x0F;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4, cp = lead & 0x07;
  if (length == 0 || pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  const std::array<std::uint32_t, 5> smallest{0, 0, 0x80, 0x800, 0x10000};
  if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

void appendEscape(std::string& out, std::uint32_t unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "_x";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
  out += '_';
}

}  // namespace

std::string decodeEscapes(std::string_view stored) {
  if (stored.find("_x") == std::string_view::npos) return std::string(stored);
  std::string out;
  out.reserve(stored.size());
  for (std::size_t pos = 0; pos < stored.size();) {
    const auto unit = escapeAt(stored, pos);
    if (!unit) {
      out += stored[pos++];
      continue;
    }
    pos += 7;
    std::uint32_t cp = *unit;
    const auto low = escapeAt(stored, pos);
    if (cp >= 0xD800 && cp <= 0xDBFF && low && *low >= 0xDC00 && *low <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
      pos += 7;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    appendUtf8(out, cp);
  }
  return out;
}

std::string encodeEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    std::uint32_t cp = 0;
    const std::size_t length = decodeUtf8(text, pos, cp);
    if (length == 0) cp = 0xFFFD;  // callers check validity first; never write a broken byte
    const bool control = cp < 0x20 && cp != '\t' && cp != '\n';
    if (control || cp == 0xFFFE || cp == 0xFFFF) {
      appendEscape(out, cp);
    } else if (cp == '_' && escapeAt(text, pos)) {
      out += "_x005F_";
    } else if (length == 0) {
      appendUtf8(out, cp);
    } else {
      out.append(text.substr(pos, length));
    }
    pos += length == 0 ? 1 : length;
  }
  return out;
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    std::uint32_t cp = 0;
    const std::size_t length = decodeUtf8(text, pos, cp);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::size_t utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (const char ch : utf8) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte & 0xC0) != 0x80) ++units;  // one per code point...
    if (byte >= 0xF0) ++units;           // ...and a second for those outside the BMP
  }
  return units;
}

std::string escapeXmlAttribute(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

}  // namespace medravolix::workbook
