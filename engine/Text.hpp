#pragma once
// Single-byte (Windows-1252) strings and numbers, as the game builds its texts.
#include <cstdint>
#include <string>

namespace qm {

std::string DecimalText(int64_t value);
std::string CharText(int code);
int64_t TextLength(const std::string& s);
int FirstCharCode(const std::string& s);
std::string LeftText(const std::string& s, int64_t n);
std::string RightText(const std::string& s, int64_t n);
std::string MidText(const std::string& s, int64_t start, int64_t length);
std::string TrimLeftText(const std::string& s);
std::string TrimRightText(const std::string& s);
std::string LowerCaseText(const std::string& s);
std::string UpperCaseText(const std::string& s);
std::string ReplaceText(const std::string& s, const std::string& search,
                        const std::string& replacement);
int64_t TextToNumber(const std::string& s);
int TextEquals(const std::string& a, const std::string& b);

// Conversions at the edges where text meets UTF-8 (fonts, typed input, tools).
std::string Cp1252ToUtf8(const std::string& s);
std::string Utf8ToCp1252(const std::string& s);  // drops what does not fit

}  // namespace qm
