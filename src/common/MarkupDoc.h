#pragma once
// An XML document read whole into memory and indexed, answering questions by
// section and key: the text of element `key` inside element `section`, or one of
// its attributes. Lenient: a badly formed file still yields every element that
// can be recognised, and the read report tells how the file was read and the
// first problem found.
//
// Position: three element numbers (0 means none) — the parent, the current
// element below it and the child below that. Lookups reset the position first.
// Not for use from two threads: lookups move the position.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/ElementIndex.h"
#include "common/MarkupEncoding.h"

namespace vespera {

class MarkupDoc {
 public:
  // Element offsets are 32-bit and the system conversion takes int sizes: a
  // larger file is refused with the system's "file too large".
  static constexpr uint64_t kMaxFileBytes = 0x7FFFFFFF;

  // Empty text, already parsed: every lookup answers empty text.
  MarkupDoc();

  // Replaces the text and the read report. On false the text is empty and the
  // report holds the first line of the system's message (at most 100 characters).
  // Either way the old element index is gone: call Parse before looking up.
  bool LoadFile(const std::u16string& path);
  // The same for the bytes of a file already in memory (false when too large).
  bool LoadBytes(std::string_view bytes);

  // Rebuilds the element index and clears the position; true when the document
  // is well formed (no problem and exactly one root element).
  bool Parse();

  void Rewind();
  bool FindSibling(std::u16string_view name);
  bool FindChild(std::u16string_view name);
  void EnterChild();
  std::u16string ChildText() const;
  std::u16string ChildAttribute(std::u16string_view name) const;

  std::u16string LookupText(std::u16string_view section, std::u16string_view key);
  std::u16string LookupAttribute(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view attribute);

  // How the file was read, then the first problem the parse found, e.g.
  // "UTF-8 length 12 to 12 wide chars No root element".
  std::u16string ReadReport() const;
  uint32_t Flags() const { return flags_; }  // kMarkup... of MarkupEncoding.h
  const std::u16string& Text() const { return text_; }
  const ElementIndex& Elements() const { return index_; }
  uint32_t Parent() const { return parent_; }
  uint32_t Current() const { return current_; }
  uint32_t Child() const { return child_; }
  // The name in an element's start tag, in place in the text.
  std::u16string_view ElementName(uint32_t element) const;

 private:
  void Replace(std::u16string text, std::u16string readNotes, uint32_t flags);
  bool HasName(uint32_t element, std::u16string_view name) const;
  uint32_t FindFrom(uint32_t element, std::u16string_view name) const;
  std::u16string ContentText(std::u16string_view content) const;

  std::u16string text_;
  std::u16string readNotes_;
  std::u16string problem_;
  uint32_t flags_ = 0;
  uint32_t parent_ = 0;
  uint32_t current_ = 0;
  uint32_t child_ = 0;
  ElementIndex index_;
};

}  // namespace vespera
