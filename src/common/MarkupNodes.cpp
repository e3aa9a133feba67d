#include "common/MarkupNodes.h"

#include <cstdint>
#include <cstring>

namespace vespera {

namespace {

constexpr size_t npos = std::u16string_view::npos;

constexpr uint64_t kOnes = 0x0001000100010001u;
constexpr uint64_t kHighBits = 0x8000800080008000u;

// Whether one of the four units in a block equals `unit`.
bool BlockHolds(uint64_t block, char16_t unit) {
  const uint64_t zeroWhereEqual = block ^ (kOnes * unit);
  return ((zeroWhereEqual - kOnes) & ~zeroWhereEqual & kHighBits) != 0;
}

// The first of the given units at or after pos (or text.size()). Most of a
// document is text and attribute values: look at four units at a time.
template <typename... Units>
size_t FindFirstOf(std::u16string_view text, size_t pos, Units... units) {
  for (; pos + 4 <= text.size(); pos += 4) {
    uint64_t block;
    std::memcpy(&block, text.data() + pos, sizeof block);
    if ((BlockHolds(block, units) || ...)) break;
  }
  while (pos < text.size() && ((text[pos] != units) && ...)) ++pos;
  return pos;
}

bool CanStartName(char16_t c) {
  return (c >= u'A' && c <= u'Z') || c == u':' || c == u'_' || c > u'`';
}

bool EndsElementName(char16_t c) { return IsMarkupSpace(c) || c == u'/' || c == u'>'; }

bool EndsAttributeName(char16_t c) {
  return IsMarkupSpace(c) || c == u'=' || c == u'>' || c == u'/' || c == u'?';
}

MarkupNode Node(NodeKind kind, size_t begin, size_t end) {
  MarkupNode node;
  node.kind = kind;
  node.begin = begin;
  node.end = end;
  return node;
}

MarkupNode Unterminated(std::u16string_view text, size_t begin, const char16_t* what) {
  MarkupNode node = Node(NodeKind::kUnterminated, begin, text.size());
  node.problem = what;
  return node;
}

MarkupNode Malformed(std::u16string_view text, size_t begin, const char16_t* what) {
  const size_t close = text.find(u'>', begin + 1);
  MarkupNode node = Node(NodeKind::kMalformed, begin, close == npos ? text.size() : close + 1);
  node.problem = what;
  return node;
}

// A node that ends with a fixed terminator such as "-->".
MarkupNode ScanUntil(std::u16string_view text, size_t begin, size_t from,
                     std::u16string_view terminator, NodeKind kind, const char16_t* what) {
  const size_t found = text.find(terminator, from);
  if (found == npos) return Unterminated(text, begin, what);
  return Node(kind, begin, found + terminator.size());
}

size_t SkipQuoted(std::u16string_view text, size_t quote) {
  const size_t close = text.find(text[quote], quote + 1);
  return close == npos ? text.size() : close + 1;
}

// A markup declaration or comment inside a document type's brackets.
size_t SkipInnerDeclaration(std::u16string_view text, size_t pos) {
  if (text.substr(pos, 4) == u"<!--") {
    const size_t close = text.find(u"-->", pos + 4);
    return close == npos ? text.size() : close + 3;
  }
  for (size_t i = pos + 1; i < text.size();) {
    if (text[i] == u'>') return i + 1;
    i = (text[i] == u'"' || text[i] == u'\'') ? SkipQuoted(text, i) : i + 1;
  }
  return text.size();
}

MarkupNode ScanDocumentType(std::u16string_view text, size_t begin) {
  bool inBrackets = false;
  for (size_t i = begin + 2; i < text.size();) {
    const char16_t c = text[i];
    if (!inBrackets) {
      if (c == u'>') return Node(NodeKind::kDocumentType, begin, i + 1);
      inBrackets = c == u'[';
      ++i;
    } else if (c == u']') {
      inBrackets = false;
      ++i;
    } else if (c == u'"' || c == u'\'') {
      i = SkipQuoted(text, i);
    } else if (c == u'<') {
      i = SkipInnerDeclaration(text, i);
    } else {
      ++i;
    }
  }
  return Unterminated(text, begin, u"Doctype");
}

MarkupNode ScanBang(std::u16string_view text, size_t begin) {
  if (begin + 2 >= text.size()) return Unterminated(text, begin, u"tag");
  const char16_t c = text[begin + 2];
  if (c == u'-' || c == u'[') {
    if (begin + 3 >= text.size()) return Unterminated(text, begin, u"tag");
    const char16_t next = text[begin + 3];
    if (c == u'-') {
      if (next != u'-') return Malformed(text, begin, u"comment tag");
      return ScanUntil(text, begin, begin + 4, u"-->", NodeKind::kComment, u"Comment");
    }
    if (next != u'C') return Malformed(text, begin, u"tag");
    return ScanUntil(text, begin, begin + 4, u"]]>", NodeKind::kCData, u"CDATA Section");
  }
  if (c == u'D') return ScanDocumentType(text, begin);
  if (c == u'E' || c == u'A' || c == u'N')
    return ScanUntil(text, begin, begin + 3, u">", NodeKind::kDeclaration, u"tag");
  return Malformed(text, begin, u"! tag");
}

MarkupNode ScanEndTag(std::u16string_view text, size_t begin) {
  const size_t close = FindFirstOf(text, begin + 2, u'>');
  if (close == text.size()) return Unterminated(text, begin, u"Element end tag");
  MarkupNode node = Node(NodeKind::kEndTag, begin, close + 1);
  node.nameEnd = begin + 2;
  while (node.nameEnd < close && !IsMarkupSpace(text[node.nameEnd])) ++node.nameEnd;
  return node;
}

// Ends at the first ">" outside quotes. The tag closes itself when that ">"
// follows a "/" that stands right after the name, a blank or a closing quote;
// in <a b=1/> the "/" belongs to the value.
MarkupNode ScanStartTag(std::u16string_view text, size_t begin) {
  const size_t nameEnd = ElementNameEnd(text, begin + 1);
  size_t lastClosingQuote = npos;
  size_t close = FindFirstOf(text, nameEnd, u'>', u'"', u'\'');
  while (close < text.size() && text[close] != u'>') {
    lastClosingQuote = FindFirstOf(text, close + 1, text[close]);
    close = FindFirstOf(text, lastClosingQuote + 1, u'>', u'"', u'\'');
  }
  if (close >= text.size()) return Unterminated(text, begin, u"Element tag");
  MarkupNode node = Node(NodeKind::kStartTag, begin, close + 1);
  node.nameEnd = nameEnd;
  const size_t slash = close - 1;
  node.emptyElement = text[slash] == u'/' && (slash == nameEnd || IsMarkupSpace(text[slash - 1]) ||
                                              lastClosingQuote == slash - 1);
  return node;
}

MarkupNode ScanText(std::u16string_view text, size_t begin) {
  return Node(NodeKind::kText, begin, FindFirstOf(text, begin, u'<'));
}

size_t SkipSpaces(std::u16string_view text, size_t pos) {
  while (pos < text.size() && IsMarkupSpace(text[pos])) ++pos;
  return pos;
}

// A quoted value runs to its matching quote (or the end of the tag), an unquoted
// one to white space. Returns the position after the value.
size_t ReadValue(std::u16string_view tokens, size_t pos, std::u16string_view& value) {
  const size_t begin = SkipSpaces(tokens, pos);
  if (begin < tokens.size() && (tokens[begin] == u'"' || tokens[begin] == u'\'')) {
    const size_t close = tokens.find(tokens[begin], begin + 1);
    const size_t end = close == npos ? tokens.size() : close;
    value = tokens.substr(begin + 1, end - begin - 1);
    return close == npos ? tokens.size() : close + 1;
  }
  size_t end = begin;
  while (end < tokens.size() && !IsMarkupSpace(tokens[end]) && tokens[end] != u'>') ++end;
  value = tokens.substr(begin, end - begin);
  return end;
}

}  // namespace

bool IsMarkupSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

size_t ElementNameEnd(std::u16string_view text, size_t nameBegin) {
  size_t end = nameBegin;
  while (end < text.size() && !EndsElementName(text[end])) ++end;
  return end;
}

MarkupNode ScanNode(std::u16string_view text, size_t pos) {
  if (text[pos] != u'<') return ScanText(text, pos);
  if (pos + 1 >= text.size()) return Unterminated(text, pos, u"tag");
  const char16_t c = text[pos + 1];
  if (c == u'/') return ScanEndTag(text, pos);
  if (c == u'?') {
    MarkupNode node = ScanUntil(text, pos, pos + 2, u"?>", NodeKind::kProcessingInstruction,
                                u"Processing instruction");
    node.nameEnd = pos + 2;
    while (node.nameEnd < node.end && !EndsAttributeName(text[node.nameEnd])) ++node.nameEnd;
    return node;
  }
  if (c == u'!') return ScanBang(text, pos);
  if (CanStartName(c)) return ScanStartTag(text, pos);
  return Malformed(text, pos, u"tag name character");
}

std::u16string_view NodeName(std::u16string_view text, const MarkupNode& node) {
  const size_t nameBegin = node.begin + (node.kind == NodeKind::kStartTag ? 1 : 2);
  return text.substr(nameBegin, node.nameEnd - nameBegin);
}

std::optional<std::u16string_view> FindAttribute(std::u16string_view tokens,
                                                 std::u16string_view name) {
  size_t pos = 0;
  while (pos < tokens.size()) {
    if (EndsAttributeName(tokens[pos])) {
      ++pos;
      continue;
    }
    const size_t nameBegin = pos;
    while (pos < tokens.size() && !EndsAttributeName(tokens[pos])) ++pos;
    const std::u16string_view attribute = tokens.substr(nameBegin, pos - nameBegin);
    std::u16string_view value;
    const size_t equals = SkipSpaces(tokens, pos);
    if (equals < tokens.size() && tokens[equals] == u'=')
      pos = ReadValue(tokens, equals + 1, value);
    if (attribute == name) return value;
  }
  return std::nullopt;
}

}  // namespace vespera
