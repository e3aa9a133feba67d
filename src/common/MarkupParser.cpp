#include "common/MarkupParser.h"

#include "common/MarkupNodes.h"
#include "common/OpenElementStack.h"
#include "common/TextUtf.h"

namespace vespera {

namespace {

std::u16string Number(size_t value) { return Utf8ToUtf16(std::to_string(value)); }

std::u16string AtOffset(size_t offset) { return u" at offset " + Number(offset); }

std::u16string Quoted(std::u16string_view name) { return u"'" + std::u16string(name) + u"'"; }

class IndexBuilder {
 public:
  IndexBuilder(std::u16string_view text, ElementIndex& index) : text_(text), index_(index) {}

  ParseOutcome Run();

 private:
  void OnNode(const MarkupNode& node);
  void OnStartTag(const MarkupNode& node);
  void OnEndTag(const MarkupNode& node);
  void CloseOpenAtEnd();
  void CloseAsNotEnded(size_t fromDepth);
  void MoveChildrenUp(uint32_t element);
  void LinkAsLastChild(uint32_t parent, uint32_t element);
  void SetLevels();

  uint32_t InnermostOpen() const { return open_.Empty() ? 0 : open_.Top().element; }
  // Records the problem when it is the first; marks the element it lies in and,
  // when `illFormed`, the document.
  void Problem(std::u16string text, uint32_t inside, bool illFormed = true);

  std::u16string_view text_;
  ElementIndex& index_;
  OpenElementStack open_;
  std::u16string problem_;
};

ParseOutcome IndexBuilder::Run() {
  index_.Reset(static_cast<uint32_t>(text_.size() / 64 + 8));
  index_[0].length = static_cast<uint32_t>(text_.size());
  if (text_.empty()) return {false, u"Empty document"};
  for (size_t pos = 0; pos < text_.size();) {
    const MarkupNode node = ScanNode(text_, pos);
    OnNode(node);
    pos = node.end;
  }
  CloseOpenAtEnd();
  SetLevels();
  if (index_[0].firstChild == 0) Problem(u"No root element", 0, false);
  return {problem_.empty(), problem_};
}

void IndexBuilder::OnNode(const MarkupNode& node) {
  switch (node.kind) {
    case NodeKind::kStartTag:
      OnStartTag(node);
      break;
    case NodeKind::kEndTag:
      OnEndTag(node);
      break;
    case NodeKind::kMalformed:
      Problem(u"Incorrect " + std::u16string(node.problem) + AtOffset(node.begin), InnermostOpen());
      break;
    case NodeKind::kUnterminated:
      Problem(node.problem + AtOffset(node.begin) + u" unterminated", InnermostOpen());
      break;
    default:
      break;  // text, comments, declarations and the like leave the tree alone
  }
}

// A start tag longer than its 22-bit field can hold is skipped like a malformed
// node, with a problem of its own, so the packed lengths are never cut.
void IndexBuilder::OnStartTag(const MarkupNode& node) {
  const size_t tagLength = node.end - node.begin;
  if (tagLength > ElementRecord::kMaxStartTagLength) {
    Problem(u"Element tag" + AtOffset(node.begin) + u" too long", InnermostOpen());
    return;
  }
  const uint32_t parent = InnermostOpen();
  if (parent == 0 && index_[0].firstChild != 0) Problem(u"Root element has sibling", 0, false);
  const uint32_t element = index_.Append();
  ElementRecord& record = index_[element];
  record.start = static_cast<uint32_t>(node.begin);
  record.length = static_cast<uint32_t>(tagLength);
  record.SetTagLengths(static_cast<uint32_t>(tagLength), 0);
  LinkAsLastChild(parent, element);
  if (!node.emptyElement) open_.Push({element, NodeName(text_, node)});
}

// An end tag longer than its 10-bit field can hold is skipped the same way.
void IndexBuilder::OnEndTag(const MarkupNode& node) {
  const std::u16string_view name = NodeName(text_, node);
  const size_t tagLength = node.end - node.begin;
  if (tagLength > ElementRecord::kMaxEndTagLength) {
    Problem(u"Element end tag" + AtOffset(node.begin) + u" too long", InnermostOpen());
    return;
  }
  const size_t depth = open_.FindInnermost(name);
  if (depth == OpenElementStack::npos) {
    Problem(u"No start tag for end tag " + Quoted(name) + AtOffset(node.begin), InnermostOpen());
    return;
  }
  const uint32_t element = open_.At(depth).element;
  if (depth + 1 < open_.Depth()) {
    const OpenElement& innermost = open_.Top();
    Problem(u"End tag " + Quoted(name) + AtOffset(node.begin + 1) + u" does not match start tag " +
                Quoted(innermost.name) + AtOffset(index_[innermost.element].start),
            element);
    CloseAsNotEnded(depth + 1);
  }
  ElementRecord& record = index_[element];
  record.length = static_cast<uint32_t>(node.end - record.start);
  record.SetTagLengths(record.StartTagLength(), static_cast<uint32_t>(tagLength));
  open_.PopTo(depth);
}

void IndexBuilder::CloseOpenAtEnd() {
  if (open_.Empty()) return;
  const OpenElement& innermost = open_.Top();
  Problem(u"Element " + Quoted(innermost.name) + AtOffset(index_[innermost.element].start) +
              u" not ended",
          0);
  CloseAsNotEnded(0);
}

// Outermost first: each closed element is its parent's last child, and its
// children move up to follow it, where the next one to close now stands too.
// So every element moves at most once.
void IndexBuilder::CloseAsNotEnded(size_t fromDepth) {
  for (size_t depth = fromDepth; depth < open_.Depth(); ++depth) {
    const uint32_t element = open_.At(depth).element;
    ElementRecord& record = index_[element];
    record.length = record.StartTagLength();
    record.flags |= ElementRecord::kNotEnded;
    MoveChildrenUp(element);
  }
  open_.PopTo(fromDepth);
}

void IndexBuilder::MoveChildrenUp(uint32_t element) {
  const uint32_t first = index_[element].firstChild;
  if (first == 0) return;
  const uint32_t parent = index_[element].parent;
  const uint32_t last = index_[first].previousSibling;
  for (uint32_t child = first; child != 0; child = index_[child].nextSibling)
    index_[child].parent = parent;
  index_[first].flags &= ~ElementRecord::kFirstChild;
  index_[first].previousSibling = element;
  index_[element].nextSibling = first;
  index_[element].firstChild = 0;
  index_[index_[parent].firstChild].previousSibling = last;
}

void IndexBuilder::LinkAsLastChild(uint32_t parent, uint32_t element) {
  index_[element].parent = parent;
  const uint32_t first = index_[parent].firstChild;
  if (first == 0) {
    index_[parent].firstChild = element;
    index_[element].flags |= ElementRecord::kFirstChild;
    index_[element].previousSibling = element;
    return;
  }
  const uint32_t last = index_[first].previousSibling;
  index_[last].nextSibling = element;
  index_[element].previousSibling = last;
  index_[first].previousSibling = element;
}

// A parent always has a lower number than its children (moving up only makes
// the parent an older element), so one pass in order sets every level.
void IndexBuilder::SetLevels() {
  for (uint32_t element = 1; element < index_.Size(); ++element) {
    ElementRecord& record = index_[element];
    record.SetLevel(record.parent == 0 ? 0 : index_[record.parent].Level() + 1);
  }
}

void IndexBuilder::Problem(std::u16string text, uint32_t inside, bool illFormed) {
  if (problem_.empty()) problem_ = std::move(text);
  index_[inside].flags |= ElementRecord::kProblemsInside;
  if (illFormed) index_[0].flags |= ElementRecord::kIllFormed;
}

}  // namespace

ParseOutcome BuildElementIndex(std::u16string_view text, ElementIndex& index) {
  return IndexBuilder(text, index).Run();
}

}  // namespace vespera
