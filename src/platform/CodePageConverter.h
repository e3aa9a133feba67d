#pragma once
// Text in a Windows code page to UTF-16, through the system's conversion facility:
// MultiByteToWideChar in the win32 build, glibc iconv in the host build.

#include <string>
#include <string_view>

namespace vespera {

// The system's ANSI code page (the host build answers 1252).
unsigned AnsiCodePage();

// Converts bytes of the given code page. A code page the facility cannot convert
// is read as the ANSI code page; bytes that do not map become replacement
// characters, never an error.
std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes);

}  // namespace vespera
