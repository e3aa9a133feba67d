// Reads arbitrary bytes as a markup file, parses them and asks the questions the
// suite asks, with section, key and attribute names taken from the document.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/MarkupDoc.h"

namespace {

// The name of one of the first few elements, so that lookups can hit.
std::u16string NameOfElement(const vespera::MarkupDoc& doc, uint32_t element) {
  if (element >= doc.Elements().Size()) return u"k";
  return std::u16string(doc.ElementName(element));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vespera::MarkupDoc doc;
  doc.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  doc.Parse();
  const std::u16string section = NameOfElement(doc, 2);
  const std::u16string key = NameOfElement(doc, 3);
  const std::u16string attribute = NameOfElement(doc, 4);
  doc.LookupText(section, key);
  doc.LookupAttribute(section, key, attribute);
  doc.LookupAttribute(section, key, u"a");
  doc.Rewind();
  while (doc.FindChild({})) {
    doc.ChildText();
    doc.ChildAttribute(attribute);
  }
  doc.ReadReport();
  // A second parse of the same text must not trip over the first.
  doc.Parse();
  doc.LookupText(key, section);
  return 0;
}
