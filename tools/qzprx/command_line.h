#pragma once
// Parsing of the numbers and sizes the commands take, with messages that say what was wrong.
#include <cstdint>
#include <string>
#include <vector>

namespace qzprx {

// A whole number in [low, high], all of the text.
bool ParseNumber(const std::string& text, int64_t low, int64_t high, int32_t& value);

// "WxH" with both sides in [1, 16384].
bool ParseSize(const std::string& text, int32_t& width, int32_t& height);

// "a,b,c,d" of whole numbers (any sign).
bool ParseFour(const std::string& text, int32_t (&values)[4]);

// OUT.png -> OUT-<suffix>.png
std::string WithSuffix(const std::string& path, const std::string& suffix);

}  // namespace qzprx
