// Text for the tool's output: UTF-8 from the store's UTF-16, hex, times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cestore {

// false when text holds an unpaired surrogate (UTF-8 cannot carry it).
bool toUtf8(const std::u16string& text, std::string& out);
// Lossy form for display: unpaired surrogates become U+FFFD.
std::string displayUtf8(const std::u16string& text);
void appendDisplayUtf8(const char16_t* text, size_t length, std::string& out);
// false for malformed UTF-8.
bool fromUtf8(const std::string& text, std::u16string& out);

std::string hex32(uint32_t value);                    // 0x0001ABCD
std::string hexBytes(const std::vector<uint8_t>& bytes);  // "00ff10"
bool parseHexBytes(const std::string& text, std::vector<uint8_t>& out);
// Accepts "0x..." hex or decimal.
bool parseNumber(const std::string& text, uint64_t& out);

// "2002-11-03T09:41:00.0000000Z"; out-of-range raw values still format.
std::string isoTime(uint64_t fileTime);

}  // namespace cestore
