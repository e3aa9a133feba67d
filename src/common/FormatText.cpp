#include "common/FormatText.h"

#include "common/TextUtf.h"

#include <algorithm>

namespace vespera {

namespace {

// A directive's width or precision beyond this is taken as this, so that a stray
// "%999999999d" cannot ask for a gigabyte of padding.
constexpr int kMaxField = 10000;

struct Directive {
  bool leftAlign = false;
  bool zeroPad = false;
  bool plusSign = false;
  bool blankSign = false;
  bool alternate = false;
  bool widthFromArgument = false;
  bool precisionFromArgument = false;
  int width = 0;
  int precision = -1;  // -1: none given
  char16_t conversion = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsConversion(char16_t c) {
  return std::u16string_view(u"diuxXocCsSp").find(c) != std::u16string_view::npos;
}

int ReadCount(std::u16string_view format, size_t& i) {
  int value = 0;
  while (i < format.size() && IsDigit(format[i])) {
    value = std::min(kMaxField, value * 10 + (format[i] - u'0'));
    ++i;
  }
  return value;
}

void SkipLengthModifier(std::u16string_view format, size_t& i) {
  if (format.substr(i).starts_with(u"I64") || format.substr(i).starts_with(u"I32")) {
    i += 3;
    return;
  }
  while (i < format.size() && std::u16string_view(u"hlLqjztwI").find(format[i]) != std::u16string_view::npos) ++i;
}

// Reads the directive that starts after a '%' at i; leaves i after its conversion
// character, or at the end of the format when it has none.
Directive ReadDirective(std::u16string_view format, size_t& i) {
  Directive d;
  for (; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (c == u'-') d.leftAlign = true;
    else if (c == u'0') d.zeroPad = true;
    else if (c == u'+') d.plusSign = true;
    else if (c == u' ') d.blankSign = true;
    else if (c == u'#') d.alternate = true;
    else break;
  }
  if (i < format.size() && format[i] == u'*') {
    d.widthFromArgument = true;
    ++i;
  } else {
    d.width = ReadCount(format, i);
  }
  if (i < format.size() && format[i] == u'.') {
    ++i;
    if (i < format.size() && format[i] == u'*') {
      d.precisionFromArgument = true;
      ++i;
    } else {
      d.precision = ReadCount(format, i);
    }
  }
  SkipLengthModifier(format, i);
  if (i < format.size()) d.conversion = format[i++];
  return d;
}

std::int64_t SignedAtOwnWidth(const FormatArgument& argument) {
  if (argument.kind() == FormatArgument::Kind::Signed) return argument.SignedValue();
  return static_cast<std::int64_t>(argument.UnsignedBits());
}

std::u16string Digits(std::uint64_t value, unsigned base, bool upper) {
  const char16_t* digitSet = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
  std::u16string digits;
  do {
    digits.push_back(digitSet[value % base]);
    value /= base;
  } while (value != 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::u16string Pad(std::u16string text, const Directive& d) {
  const size_t width = static_cast<size_t>(d.width);
  if (text.size() >= width) return text;
  const std::u16string fill(width - text.size(), u' ');
  return d.leftAlign ? text + fill : fill + text;
}

std::u16string FormatNumber(const FormatArgument& argument, const Directive& d) {
  std::u16string sign;
  std::u16string prefix;
  std::uint64_t magnitude = 0;
  unsigned base = 10;
  const char16_t c = d.conversion;
  if (c == u'd' || c == u'i') {
    const std::int64_t value = SignedAtOwnWidth(argument);
    magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (value < 0) sign = u"-";
    else if (d.plusSign) sign = u"+";
    else if (d.blankSign) sign = u" ";
  } else {
    magnitude = argument.UnsignedBits();
    if (c == u'x' || c == u'X') base = 16;
    if (c == u'o') base = 8;
    if (d.alternate && magnitude != 0 && base == 16) prefix = c == u'x' ? u"0x" : u"0X";
    if (d.alternate && base == 8) prefix = u"0";
  }
  std::u16string digits = (d.precision == 0 && magnitude == 0) ? u"" : Digits(magnitude, base, c == u'X');
  if (d.precision > 0 && digits.size() < static_cast<size_t>(d.precision)) {
    digits.insert(0, static_cast<size_t>(d.precision) - digits.size(), u'0');
  }
  const size_t used = sign.size() + prefix.size() + digits.size();
  if (d.zeroPad && !d.leftAlign && d.precision < 0 && used < static_cast<size_t>(d.width)) {
    digits.insert(0, static_cast<size_t>(d.width) - used, u'0');
  }
  return Pad(sign + prefix + digits, d);
}

std::u16string FormatTextArgument(const FormatArgument& argument, const Directive& d) {
  std::u16string text;
  switch (argument.kind()) {
    case FormatArgument::Kind::Text16:
    case FormatArgument::Kind::Text8:
      text = argument.Text();
      break;
    case FormatArgument::Kind::Character:
      text.assign(1, static_cast<char16_t>(argument.UnsignedBits()));
      break;
    default: {
      Directive decimal;
      decimal.conversion = argument.kind() == FormatArgument::Kind::Signed ? u'd' : u'u';
      text = FormatNumber(argument, decimal);
    }
  }
  if (d.precision >= 0 && text.size() > static_cast<size_t>(d.precision)) {
    text.resize(static_cast<size_t>(d.precision));
  }
  return Pad(std::move(text), d);
}

std::u16string FormatOne(const FormatArgument& argument, Directive d) {
  const bool isText = argument.kind() == FormatArgument::Kind::Text16 ||
                      argument.kind() == FormatArgument::Kind::Text8;
  switch (d.conversion) {
    case u's':
    case u'S':
      return FormatTextArgument(argument, d);
    case u'c':
    case u'C':
      if (!isText) {
        return Pad(std::u16string(1, static_cast<char16_t>(argument.UnsignedBits())), d);
      }
      d.precision = -1;
      return FormatTextArgument(argument, d);
    case u'p':
      if (isText) return FormatTextArgument(argument, d);
      d.conversion = u'X';
      d.precision = 2 * sizeof(void*);
      return FormatNumber(argument, d);
    default:
      if (isText) return FormatTextArgument(argument, d);
      return FormatNumber(argument, d);
  }
}

int CountFromArgument(const FormatArgument& argument) {
  return static_cast<int>(std::clamp<std::int64_t>(SignedAtOwnWidth(argument), -kMaxField, kMaxField));
}

}  // namespace

FormatArgument::FormatArgument(const char16_t* text) : kind_(Kind::Text16) {
  if (text) text16_ = text;
  else isNull_ = true;
}

FormatArgument::FormatArgument(const char* text) : kind_(Kind::Text8) {
  if (text) text8_ = text;
  else isNull_ = true;
}

std::uint64_t FormatArgument::UnsignedBits() const {
  if (size_ >= sizeof(std::uint64_t)) return bits_;
  return bits_ & ((std::uint64_t{1} << (8 * size_)) - 1);
}

std::u16string FormatArgument::Text() const {
  if (isNull_) return u"(null)";
  if (kind_ == Kind::Text8) return Utf8ToUtf16(text8_);
  return std::u16string(text16_);
}

std::u16string FormatTextWith(std::u16string_view format, std::span<const FormatArgument> arguments) {
  std::u16string out;
  size_t next = 0;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != u'%') {
      out.push_back(format[i++]);
      continue;
    }
    const size_t start = i++;
    Directive d = ReadDirective(format, i);
    if (d.conversion == u'%') {
      out.push_back(u'%');
      continue;
    }
    const size_t needed = 1 + d.widthFromArgument + d.precisionFromArgument;
    if (!IsConversion(d.conversion) || next + needed > arguments.size()) {
      out.append(format.substr(start, i - start));
      continue;
    }
    if (d.widthFromArgument) {
      d.width = CountFromArgument(arguments[next++]);
      if (d.width < 0) {
        d.leftAlign = true;
        d.width = -d.width;
      }
    }
    if (d.precisionFromArgument) d.precision = std::max(-1, CountFromArgument(arguments[next++]));
    out += FormatOne(arguments[next++], d);
  }
  return out;
}

}  // namespace vespera
