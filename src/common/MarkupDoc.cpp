#include "common/MarkupDoc.h"

#include "common/CharacterReferences.h"
#include "common/MarkupNodes.h"
#include "common/MarkupParser.h"
#include "platform/WholeFile.h"

namespace vespera {

namespace {

constexpr size_t kMaxSystemMessage = 100;

std::u16string FirstLine(std::u16string_view message) {
  std::u16string_view line = message.substr(0, message.find_first_of(u"\r\n"));
  while (!line.empty() && IsMarkupSpace(line.back())) line.remove_suffix(1);
  if (line.size() > kMaxSystemMessage) {
    line = line.substr(0, kMaxSystemMessage);
    if (line.back() >= 0xD800 && line.back() <= 0xDBFF) line.remove_suffix(1);
  }
  return std::u16string(line);
}

bool IsOnlySpace(std::u16string_view text) {
  for (char16_t c : text) {
    if (!IsMarkupSpace(c)) return false;
  }
  return true;
}

std::u16string_view CDataInside(std::u16string_view cdata) {
  constexpr size_t kOpening = 9;  // <![CDATA[
  constexpr size_t kClosing = 3;  // ]]>
  if (cdata.size() < kOpening + kClosing) return {};
  return cdata.substr(kOpening, cdata.size() - kOpening - kClosing);
}

}  // namespace

MarkupDoc::MarkupDoc() { Parse(); }

bool MarkupDoc::LoadFile(const std::u16string& path) {
  WholeFile file = ReadWholeFile(path, kMaxFileBytes);
  if (!file.read) {
    Replace({}, FirstLine(file.error), 0);
    return false;
  }
  return LoadBytes(file.bytes);
}

bool MarkupDoc::LoadBytes(std::string_view bytes) {
  if (bytes.size() > kMaxFileBytes) {
    Replace({}, {}, 0);
    return false;
  }
  DecodedMarkup decoded = DecodeMarkup(bytes);
  Replace(std::move(decoded.text), std::move(decoded.report), decoded.flags);
  return true;
}

// The old index would point into the old text, so it goes with it.
void MarkupDoc::Replace(std::u16string text, std::u16string readNotes, uint32_t flags) {
  text_ = std::move(text);
  readNotes_ = std::move(readNotes);
  problem_.clear();
  flags_ = flags;
  index_.Reset(8);
  Rewind();
}

bool MarkupDoc::Parse() {
  const ParseOutcome outcome = BuildElementIndex(text_, index_);
  problem_ = outcome.problem;
  Rewind();
  return outcome.wellFormed;
}

void MarkupDoc::Rewind() { parent_ = current_ = child_ = 0; }

std::u16string_view MarkupDoc::ElementName(uint32_t element) const {
  const ElementRecord& record = index_[element];
  const std::u16string_view tag(text_.data() + record.start, record.StartTagLength());
  return tag.substr(1, ElementNameEnd(tag, 1) - 1);
}

// Compares in place: the name must be followed by what ends a name.
bool MarkupDoc::HasName(uint32_t element, std::u16string_view name) const {
  const ElementRecord& record = index_[element];
  if (record.StartTagLength() < name.size() + 2) return false;
  const std::u16string_view tag(text_.data() + record.start + 1, name.size() + 1);
  const char16_t after = tag.back();
  return tag.starts_with(name) && (IsMarkupSpace(after) || after == u'/' || after == u'>');
}

// The first element from `element` on along the siblings with this name (any
// name when empty), or 0.
uint32_t MarkupDoc::FindFrom(uint32_t element, std::u16string_view name) const {
  for (; element != 0; element = index_[element].nextSibling) {
    if (name.empty() || HasName(element, name)) return element;
  }
  return 0;
}

bool MarkupDoc::FindSibling(std::u16string_view name) {
  const uint32_t from = current_ != 0 ? index_[current_].nextSibling : index_[parent_].firstChild;
  const uint32_t found = FindFrom(from, name);
  if (found == 0) return false;
  current_ = found;
  child_ = 0;
  return true;
}

bool MarkupDoc::FindChild(std::u16string_view name) {
  if (current_ == 0 && !FindSibling({})) return false;
  const uint32_t from = child_ != 0 ? index_[child_].nextSibling : index_[current_].firstChild;
  const uint32_t found = FindFrom(from, name);
  if (found == 0) return false;
  child_ = found;
  parent_ = index_[current_].parent;
  return true;
}

void MarkupDoc::EnterChild() {
  if (current_ == 0) return;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
}

std::u16string MarkupDoc::ChildText() const {
  if (child_ == 0) return {};
  const ElementRecord& record = index_[child_];
  if (record.firstChild != 0 || record.EndTagLength() == 0) return {};
  const size_t begin = record.start + record.StartTagLength();
  const size_t end = record.start + record.length - record.EndTagLength();
  const std::u16string_view content(text_.data() + begin, end - begin);
  if (content.find(u'<') == std::u16string_view::npos) return DecodeCharacterReferences(content);
  return ContentText(content);
}

// Content that holds markup: its text runs (decoded) and CDATA sections (as
// they are), without comments, processing instructions or runs of white space.
std::u16string MarkupDoc::ContentText(std::u16string_view content) const {
  std::u16string text;
  for (size_t pos = 0; pos < content.size();) {
    const MarkupNode node = ScanNode(content, pos);
    const std::u16string_view part = content.substr(node.begin, node.end - node.begin);
    if (node.kind == NodeKind::kText && !IsOnlySpace(part)) text += DecodeCharacterReferences(part);
    if (node.kind == NodeKind::kCData) text += CDataInside(part);
    pos = node.end;
  }
  return text;
}

std::u16string MarkupDoc::ChildAttribute(std::u16string_view name) const {
  if (child_ == 0) return {};
  const ElementRecord& record = index_[child_];
  const size_t nameEnd = record.start + 1 + ElementName(child_).size();
  const size_t tagEnd = record.start + record.StartTagLength() - 1;  // the closing ">"
  const std::u16string_view tokens(text_.data() + nameEnd, tagEnd - nameEnd);
  const auto value = FindAttribute(tokens, name);
  return value ? DecodeCharacterReferences(*value) : std::u16string();
}

std::u16string MarkupDoc::LookupText(std::u16string_view section, std::u16string_view key) {
  Rewind();
  while (FindChild(section)) {
    EnterChild();
    if (FindChild(key)) return ChildText();
  }
  return {};
}

std::u16string MarkupDoc::LookupAttribute(std::u16string_view section, std::u16string_view key,
                                          std::u16string_view attribute) {
  Rewind();
  while (FindChild(section)) {
    EnterChild();
    if (FindChild(key)) return ChildAttribute(attribute);
  }
  return {};
}

std::u16string MarkupDoc::ReadReport() const {
  if (problem_.empty()) return readNotes_;
  if (readNotes_.empty() || readNotes_.back() == u' ') return readNotes_ + problem_;
  return readNotes_ + u" " + problem_;
}

}  // namespace vespera
