// Reading and writing the numbers of step fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zs {

// Integer conversion: blanks and tabs skipped, one optional sign, then decimal digits up to the
// first other character; "$" reads hexadecimal and "%" binary digits. Read 64 bits wide; no digits
// give 0. A number outside the range reads as the nearest value in it.
std::int64_t ReadInteger64(std::string_view text);
// The same for the 32 bits that the step fields hold: again the nearest value in range, so a loop
// count of 2147483648 stays a large count instead of turning negative.
std::int32_t ReadInteger(std::string_view text);

// The file's delay reading: a decimal number with "." as the point; reading stops at the first
// character that does not fit, so "0,5" reads 0.
float ReadFileDelay(std::string_view text);

// The editor's decimal conversion: every "," becomes ".", whatever the locale; "+Infinity",
// "-Infinity" and "NaN" in any case; a text that is not a number gives 0.
float ReadEditorDecimal(std::string_view text);

// A delay with exactly one decimal and "." as the point: 0.5 -> "0.5", 2 -> "2.0".
std::string FormatDelay(float seconds);

}  // namespace zs
