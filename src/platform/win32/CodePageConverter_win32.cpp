#include "platform/CodePageConverter.h"

#include <windows.h>

#include <climits>
#include <optional>

namespace vespera {

namespace {

constexpr unsigned kEucJp = 51932;
constexpr unsigned kJisDoubleByte = 20932;  // EUC-JP as a table of the system's own

std::optional<std::u16string> TryConvert(unsigned codePage, std::string_view bytes) {
  if (bytes.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::u16string text(static_cast<size_t>(length), u'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                        length);
  return text;
}

bool IsIso2022Jp(unsigned codePage) { return codePage >= 50220 && codePage <= 50222; }

// ISO-2022-JP re-encoded as EUC-JP: the escape sequences pick ASCII, JIS X 0208
// or half-width katakana; the two-byte and katakana codes get their high bits.
std::string Iso2022JpToEucJp(std::string_view bytes) {
  enum class Set { kAscii, kJis0208, kKatakana } set = Set::kAscii;
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == 0x1B && i + 2 < bytes.size()) {
      const std::string_view escape = bytes.substr(i + 1, 2);
      if (escape == "$B" || escape == "$@")
        set = Set::kJis0208;
      else if (escape == "(I")
        set = Set::kKatakana;
      else if (escape == "(B" || escape == "(J")
        set = Set::kAscii;
      i += 2;
    } else if (byte == 0x0E || byte == 0x0F) {
      set = byte == 0x0E ? Set::kKatakana : Set::kAscii;
    } else if (set == Set::kJis0208 && byte >= 0x21 && byte <= 0x7E && i + 1 < bytes.size()) {
      out += static_cast<char>(byte | 0x80);
      out += static_cast<char>(static_cast<unsigned char>(bytes[++i]) | 0x80);
    } else if (set == Set::kKatakana && byte >= 0x21 && byte <= 0x5F) {
      out += '\x8E';
      out += static_cast<char>(byte | 0x80);
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

// Some systems (Wine among them) lack EUC-JP and ISO-2022-JP as code pages of
// their own; both are read through the system's EUC-JP table instead.
std::optional<std::u16string> TryJapaneseFallback(unsigned codePage, std::string_view bytes) {
  if (codePage == kEucJp) return TryConvert(kJisDoubleByte, bytes);
  if (IsIso2022Jp(codePage)) return TryConvert(kJisDoubleByte, Iso2022JpToEucJp(bytes));
  return std::nullopt;
}

}  // namespace

unsigned AnsiCodePage() { return ::GetACP(); }

std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  auto text = TryConvert(codePage, bytes);
  if (!text) text = TryJapaneseFallback(codePage, bytes);
  if (!text) text = TryConvert(::GetACP(), bytes);
  return text.value_or(std::u16string());
}

}  // namespace vespera
