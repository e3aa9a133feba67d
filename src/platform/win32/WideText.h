#pragma once
// The core's UTF-16 text and Windows wide strings share their units; these
// casts are the one place where the two types meet.

#include <string>
#include <string_view>

namespace vespera::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromWide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

inline std::u16string FromWide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace vespera::win32
