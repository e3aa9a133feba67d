#pragma once
// The value of one digit in any base up to 36: 0-9, then a-z or A-Z as 10-35; -1 for
// anything else. Callers check the value against their own base.

namespace vespera {

constexpr int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return -1;
}

constexpr int DigitValue(char16_t c, int base) {
  const int value = DigitValue(c);
  return value < base ? value : -1;
}

}  // namespace vespera
