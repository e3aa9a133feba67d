#pragma once
// Splits markup text into nodes: tags, text, comments, processing instructions,
// CDATA sections and declarations. The parser, the element text and the
// encoding declaration scan all read the text through this one scanner.

#include <cstddef>
#include <optional>
#include <string_view>

namespace vespera {

enum class NodeKind {
  kText,
  kStartTag,
  kEndTag,
  kProcessingInstruction,
  kComment,
  kCData,
  kDocumentType,
  kDeclaration,
  kMalformed,     // skipped up to the next ">"
  kUnterminated,  // cut off by the end of the text
};

struct MarkupNode {
  NodeKind kind = NodeKind::kText;
  size_t begin = 0;           // the "<", or the first character of a text run
  size_t end = 0;             // one past the node
  size_t nameEnd = 0;         // tags and processing instructions: one past the name
  bool emptyElement = false;  // a start tag that closes itself with "/>"
  // kMalformed: what was wrong ("tag name character", "! tag", ...);
  // kUnterminated: the kind of node that was cut off ("Element tag", "Comment", ...).
  const char16_t* problem = nullptr;
};

// The node that starts at text[pos] (pos < text.size()).
MarkupNode ScanNode(std::u16string_view text, size_t pos);

bool IsMarkupSpace(char16_t c);

// One past the element name that starts at text[nameBegin].
size_t ElementNameEnd(std::u16string_view text, size_t nameBegin);

// The name of a tag or processing instruction node.
std::u16string_view NodeName(std::u16string_view text, const MarkupNode& node);

// The value of the first attribute with this name among the attribute tokens of
// a start tag (or the pseudo-attributes of a processing instruction): `tokens`
// is what follows the name, without the closing ">". Undecoded.
std::optional<std::u16string_view> FindAttribute(std::u16string_view tokens,
                                                 std::u16string_view name);

}  // namespace vespera
