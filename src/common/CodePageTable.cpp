#include "common/CodePageTable.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace vespera {

namespace {

// 254 names for 116 code pages, sorted by name.
// clang-format off
constexpr CodePageName kCodePageNames[] = {
    {"_iso-2022-jp$sio", 50222}, {"ansi_x3.4-1968", 20127}, {"ansi_x3.4-1986", 20127},
    {"arabic", 28596}, {"ascii", 20127}, {"asmo-708", 708}, {"big5", 950}, {"chinese", 936},
    {"cn-big5", 950}, {"cn-gb", 936}, {"cp037", 37}, {"cp1026", 1026}, {"cp1256", 1256},
    {"cp367", 20127}, {"cp437", 437}, {"cp500", 500}, {"cp819", 28591}, {"cp850", 850},
    {"cp852", 852}, {"cp855", 855}, {"cp857", 857}, {"cp858", 858}, {"cp860", 860},
    {"cp861", 861}, {"cp862", 862}, {"cp863", 863}, {"cp864", 864}, {"cp865", 865},
    {"cp866", 866}, {"cp869", 869}, {"cp870", 870}, {"cp875", 875}, {"csascii", 20127},
    {"cseuckr", 949}, {"cseucpkdfmtjapanese", 51932}, {"csgb2312", 936}, {"csiso2022jp", 50221},
    {"csiso2022kr", 50225}, {"csiso58gb231280", 936}, {"cskoi8r", 20866},
    {"csksc56011987", 949}, {"csshiftjis", 932}, {"cswindows31j", 932}, {"cyrillic", 28595},
    {"dos-720", 720}, {"dos-862", 862}, {"dos-874", 874}, {"ebcdic-cp-ar1", 20420},
    {"ebcdic-cp-be", 500}, {"ebcdic-cp-dk", 20277}, {"ebcdic-cp-es", 20284},
    {"ebcdic-cp-fi", 20278}, {"ebcdic-cp-fr", 20297}, {"ebcdic-cp-gb", 20285},
    {"ebcdic-cp-gr", 20423}, {"ebcdic-cp-he", 20424}, {"ebcdic-cp-is", 20871},
    {"ebcdic-cp-it", 20280}, {"ebcdic-cp-us", 37}, {"ebcdic-cyrillic", 20880},
    {"ebcdic-de-273+euro", 1141}, {"ebcdic-dk-277+euro", 1142}, {"ebcdic-fi-278+euro", 1143},
    {"ebcdic-it-280+euro", 1144}, {"ebcdic-jp-kana", 20290}, {"ebcdic-us-37+euro", 1140},
    {"ecma-114", 28596}, {"ecma-118", 28597}, {"elot_928", 28597}, {"euc-cn", 51936},
    {"euc-jp", 51932}, {"euc-kr", 949}, {"gb18030", 54936}, {"gb2312", 936},
    {"gb_2312-80", 936}, {"gbk", 936}, {"greek", 28597}, {"hebrew", 28598},
    {"hz-gb-2312", 52936}, {"ibm00858", 858}, {"ibm01140", 1140}, {"ibm01141", 1141},
    {"ibm01142", 1142}, {"ibm01143", 1143}, {"ibm01144", 1144}, {"ibm01145", 1145},
    {"ibm01146", 1146}, {"ibm01147", 1147}, {"ibm01148", 1148}, {"ibm01149", 1149},
    {"ibm037", 37}, {"ibm1026", 1026}, {"ibm273", 20273}, {"ibm277", 20277}, {"ibm278", 20278},
    {"ibm280", 20280}, {"ibm284", 20284}, {"ibm285", 20285}, {"ibm290", 20290},
    {"ibm297", 20297}, {"ibm420", 20420}, {"ibm423", 20423}, {"ibm424", 20424}, {"ibm437", 437},
    {"ibm500", 500}, {"ibm737", 737}, {"ibm775", 775}, {"ibm819", 28591}, {"ibm850", 850},
    {"ibm852", 852}, {"ibm855", 855}, {"ibm857", 857}, {"ibm860", 860}, {"ibm861", 861},
    {"ibm862", 862}, {"ibm863", 863}, {"ibm864", 864}, {"ibm865", 865}, {"ibm866", 866},
    {"ibm869", 869}, {"ibm870", 870}, {"ibm871", 20871}, {"ibm880", 20880},
    {"iso-10646-ucs-2", 1200}, {"iso-2022-jp", 50220}, {"iso-2022-kr", 50225},
    {"iso-8859-1", 28591}, {"iso-8859-11", 874}, {"iso-8859-13", 28603}, {"iso-8859-15", 28605},
    {"iso-8859-2", 28592}, {"iso-8859-3", 28593}, {"iso-8859-4", 28594}, {"iso-8859-5", 28595},
    {"iso-8859-6", 28596}, {"iso-8859-7", 28597}, {"iso-8859-8", 28598},
    {"iso-8859-8-i", 38598}, {"iso-8859-9", 28599}, {"iso-ir-100", 28591},
    {"iso-ir-101", 28592}, {"iso-ir-109", 28593}, {"iso-ir-110", 28594}, {"iso-ir-126", 28597},
    {"iso-ir-127", 28596}, {"iso-ir-138", 28598}, {"iso-ir-144", 28595}, {"iso-ir-148", 28599},
    {"iso-ir-149", 949}, {"iso-ir-58", 936}, {"iso-ir-6", 20127}, {"iso646-us", 20127},
    {"iso8859-1", 28591}, {"iso_8859-1", 28591}, {"iso_8859-15", 28605}, {"iso_8859-2", 28592},
    {"iso_8859-3", 28593}, {"iso_8859-4", 28594}, {"iso_8859-5", 28595}, {"iso_8859-6", 28596},
    {"iso_8859-7", 28597}, {"iso_8859-8", 28598}, {"iso_8859-9", 28599}, {"johab", 1361},
    {"koi", 20866}, {"koi8", 20866}, {"koi8-r", 20866}, {"koi8-ru", 21866}, {"koi8-u", 21866},
    {"korean", 949}, {"ks-c-5601", 949}, {"ks_c_5601", 949}, {"ks_c_5601-1987", 949},
    {"ksc5601", 949}, {"l1", 28591}, {"l2", 28592}, {"l3", 28593}, {"l4", 28594}, {"l5", 28599},
    {"l9", 28605}, {"latin1", 28591}, {"latin2", 28592}, {"latin3", 28593}, {"latin4", 28594},
    {"latin5", 28599}, {"latin9", 28605}, {"logical", 38598}, {"macintosh", 10000},
    {"ms_kanji", 932}, {"shift-jis", 932}, {"shift_jis", 932}, {"tis-620", 874},
    {"ucs-2", 1200}, {"unicode", 1200}, {"unicode-1-1-utf-7", 65000},
    {"unicode-1-1-utf-8", 65001}, {"unicodefffe", 1201}, {"us", 1252}, {"us-ascii", 20127},
    {"utf-16", 1200}, {"utf-16be", 1201}, {"utf-7", 65000}, {"utf-8", 65001}, {"visual", 28598},
    {"windows-1250", 1250}, {"windows-1251", 1251}, {"windows-1252", 1252},
    {"windows-1253", 1253}, {"windows-1254", 1254}, {"windows-1255", 1255},
    {"windows-1256", 1256}, {"windows-1257", 1257}, {"windows-1258", 1258},
    {"windows-874", 874}, {"x-ansi", 1252}, {"x-chinese-cns", 20000}, {"x-chinese-eten", 20002},
    {"x-cp1250", 1250}, {"x-cp1251", 1251}, {"x-cp20949", 20949}, {"x-euc", 51932},
    {"x-euc-cn", 51936}, {"x-euc-jp", 51932}, {"x-ia5", 20105}, {"x-ia5-german", 20106},
    {"x-ia5-norwegian", 20108}, {"x-ia5-swedish", 20107}, {"x-iscii-as", 57006},
    {"x-iscii-be", 57003}, {"x-iscii-de", 57002}, {"x-iscii-gu", 57010}, {"x-iscii-ka", 57008},
    {"x-iscii-ma", 57009}, {"x-iscii-or", 57007}, {"x-iscii-pa", 57011}, {"x-iscii-ta", 57004},
    {"x-iscii-te", 57005}, {"x-mac-arabic", 10004}, {"x-mac-ce", 10029},
    {"x-mac-chinesesimp", 10008}, {"x-mac-chinesetrad", 10002}, {"x-mac-cyrillic", 10007},
    {"x-mac-greek", 10006}, {"x-mac-hebrew", 10005}, {"x-mac-japanese", 10001},
    {"x-mac-korean", 10003}, {"x-mac-turkish", 10081}, {"x-ms-cp932", 932}, {"x-sjis", 932},
    {"x-unicode11utf7", 65000}, {"x-unicode11utf8", 65001}, {"x-unicode20utf7", 65000},
    {"x-unicode20utf8", 65001}, {"x-x-big5", 950},
};
// clang-format on

static_assert(std::is_sorted(std::begin(kCodePageNames), std::end(kCodePageNames),
                             [](const CodePageName& a, const CodePageName& b) {
                               return a.name < b.name;
                             }));

}  // namespace

std::span<const CodePageName> CodePageNames() { return kCodePageNames; }

unsigned CodePageForName(std::string_view name) {
  std::string lowered(name);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  const auto found = std::lower_bound(
      std::begin(kCodePageNames), std::end(kCodePageNames), lowered,
      [](const CodePageName& entry, const std::string& wanted) { return entry.name < wanted; });
  if (found == std::end(kCodePageNames) || found->name != lowered) return 0;
  return found->codePage;
}

}  // namespace vespera
