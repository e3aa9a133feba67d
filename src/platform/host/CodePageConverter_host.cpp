#include "platform/CodePageConverter.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iterator>

namespace vespera {

namespace {

constexpr unsigned kHostAnsiCodePage = 1252;

struct IconvName {
  unsigned codePage;
  const char* name;
};

// The Windows code pages glibc iconv knows under a name of its own, sorted by
// code page. Those it lacks (the Mac Asian and Arabic sets, the ISCII pages,
// HZ, CNS, DOS-720, the IA5 sets without an ISO 646 twin, and UTF-16 given for
// byte data, which MultiByteToWideChar refuses as well) are read as code page 1252.
constexpr IconvName kIconvNames[] = {
    {37, "IBM037"},          {437, "IBM437"},
    {500, "IBM500"},         {708, "ASMO-708"},
    {737, "CP737"},          {775, "CP775"},
    {850, "IBM850"},         {852, "IBM852"},
    {855, "IBM855"},         {857, "IBM857"},
    {858, "CP858"},          {860, "IBM860"},
    {861, "IBM861"},         {862, "IBM862"},
    {863, "IBM863"},         {864, "IBM864"},
    {865, "IBM865"},         {866, "IBM866"},
    {869, "IBM869"},         {870, "IBM870"},
    {874, "CP874"},          {875, "IBM875"},
    {932, "CP932"},          {936, "CP936"},
    {949, "CP949"},          {950, "CP950"},
    {1026, "IBM1026"},       {1140, "IBM1140"},
    {1141, "IBM1141"},       {1142, "IBM1142"},
    {1143, "IBM1143"},       {1144, "IBM1144"},
    {1145, "IBM1145"},       {1146, "IBM1146"},
    {1147, "IBM1147"},       {1148, "IBM1148"},
    {1149, "IBM1149"},       {1250, "CP1250"},
    {1251, "CP1251"},        {1252, "CP1252"},
    {1253, "CP1253"},        {1254, "CP1254"},
    {1255, "CP1255"},        {1256, "CP1256"},
    {1257, "CP1257"},        {1258, "CP1258"},
    {1361, "JOHAB"},         {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"}, {10029, "MAC-CENTRALEUROPE"},
    {20106, "ISO646-DE"},    {20107, "ISO646-SE"},
    {20108, "ISO646-NO"},    {20127, "ANSI_X3.4-1968"},
    {20273, "IBM273"},       {20277, "IBM277"},
    {20278, "IBM278"},       {20280, "IBM280"},
    {20284, "IBM284"},       {20285, "IBM285"},
    {20290, "IBM290"},       {20297, "IBM297"},
    {20420, "IBM420"},       {20423, "IBM423"},
    {20424, "IBM424"},       {20866, "KOI8-R"},
    {20871, "IBM871"},       {20880, "IBM880"},
    {20949, "EUC-KR"},       {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},   {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},   {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},   {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},   {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},   {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},  {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},  {50221, "ISO-2022-JP"},
    {50222, "ISO-2022-JP"},  {50225, "ISO-2022-KR"},
    {51932, "EUC-JP"},       {51936, "EUC-CN"},
    {54936, "GB18030"},      {65000, "UTF-7"},
    {65001, "UTF-8"},
};

static_assert(std::is_sorted(std::begin(kIconvNames), std::end(kIconvNames),
                             [](const IconvName& a, const IconvName& b) {
                               return a.codePage < b.codePage;
                             }));

const char* IconvNameFor(unsigned codePage) {
  const auto found = std::lower_bound(
      std::begin(kIconvNames), std::end(kIconvNames), codePage,
      [](const IconvName& entry, unsigned wanted) { return entry.codePage < wanted; });
  return (found != std::end(kIconvNames) && found->codePage == codePage) ? found->name : nullptr;
}

constexpr const char* kNativeUtf16 =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

class Converter {
 public:
  explicit Converter(const char* from) : cd_(iconv_open(kNativeUtf16, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Bytes that do not map, and a sequence cut off at the end, become U+FFFD.
  std::u16string Convert(std::string_view bytes) {
    std::u16string out(bytes.size() + 8, u'\0');
    size_t used = 0;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    for (;;) {
      if (out.size() - used < 8) out.resize(out.size() * 2);
      char* outPtr = reinterpret_cast<char*>(out.data() + used);
      size_t outLeft = (out.size() - used) * sizeof(char16_t);
      const bool flushing = inLeft == 0;
      const size_t result = flushing ? iconv(cd_, nullptr, nullptr, &outPtr, &outLeft)
                                     : iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      used = out.size() - outLeft / sizeof(char16_t);
      if (result != static_cast<size_t>(-1)) {
        if (flushing) break;
        continue;
      }
      if (error == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      if (flushing) break;
      if (used == out.size()) out.resize(out.size() * 2);
      out[used++] = u'\uFFFD';
      if (error == EILSEQ) {
        ++in;
        --inLeft;
      } else {
        inLeft = 0;
      }
    }
    out.resize(used);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

unsigned AnsiCodePage() { return kHostAnsiCodePage; }

std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const char* name = IconvNameFor(codePage);
  Converter converter(name ? name : IconvNameFor(kHostAnsiCodePage));
  if (!converter.ok()) {
    Converter fallback(IconvNameFor(kHostAnsiCodePage));
    return fallback.Convert(bytes);
  }
  return converter.Convert(bytes);
}

}  // namespace vespera
