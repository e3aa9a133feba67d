#pragma once
// printf-style formatting of UTF-16 text with typed arguments, for log lines:
//   FormatText(u"onDevicePlug: %s (%04X)", devicePath, productId)
// Conversions: %d %i %u %x %X %o %c %s %p %%, with the flags - 0 + blank #, a width
// and a precision (digits or *), and any length modifier (h hh l ll I64 z j t w L),
// which is read and ignored: the argument's own type decides its size.
// The formatter never fails: a directive without an argument, or with an unknown
// conversion, is written as it stands; extra arguments are ignored; a number given
// to %s is written as a decimal and a text given to a number conversion as text.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vespera {

class FormatArgument {
 public:
  enum class Kind { Signed, Unsigned, Character, Text16, Text8, Pointer };

  template <std::integral Integer>
  // Implicit, like every constructor here, so that FormatText takes plain arguments.
  FormatArgument(Integer value) : size_(sizeof(Integer)) {
    if constexpr (std::same_as<Integer, char16_t> || std::same_as<Integer, wchar_t> ||
                  std::same_as<Integer, char>) {
      kind_ = Kind::Character;
      bits_ = static_cast<std::uint16_t>(value);
    } else if constexpr (std::is_signed_v<Integer>) {
      kind_ = Kind::Signed;
      bits_ = static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    } else {
      kind_ = Kind::Unsigned;
      bits_ = static_cast<std::uint64_t>(value);
    }
  }
  FormatArgument(std::u16string_view text) : kind_(Kind::Text16), text16_(text) {}
  FormatArgument(const std::u16string& text) : kind_(Kind::Text16), text16_(text) {}
  FormatArgument(const char16_t* text);
  // Narrow text is taken as UTF-8.
  FormatArgument(std::string_view text) : kind_(Kind::Text8), text8_(text) {}
  FormatArgument(const std::string& text) : kind_(Kind::Text8), text8_(text) {}
  FormatArgument(const char* text);
  FormatArgument(const void* pointer)
      : kind_(Kind::Pointer), bits_(reinterpret_cast<std::uintptr_t>(pointer)) {}

  Kind kind() const { return kind_; }
  // The value as the unsigned number of the argument's own width (-1 as int is FFFFFFFF).
  std::uint64_t UnsignedBits() const;
  std::int64_t SignedValue() const { return static_cast<std::int64_t>(bits_); }
  std::u16string Text() const;

 private:
  Kind kind_;
  std::uint64_t bits_ = 0;
  unsigned size_ = sizeof(void*);
  bool isNull_ = false;
  std::u16string_view text16_;
  std::string_view text8_;
};

std::u16string FormatTextWith(std::u16string_view format, std::span<const FormatArgument> arguments);

template <typename... Arguments>
std::u16string FormatText(std::u16string_view format, const Arguments&... arguments) {
  const std::initializer_list<FormatArgument> list{FormatArgument(arguments)...};
  return FormatTextWith(format, std::span(list.begin(), list.size()));
}

}  // namespace vespera
