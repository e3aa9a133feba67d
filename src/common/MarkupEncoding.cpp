#include "common/MarkupEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/CodePageTable.h"
#include "common/MarkupNodes.h"
#include "common/TextUtf.h"
#include "platform/CodePageConverter.h"

namespace vespera {

namespace {

constexpr size_t kHeadBytes = 1024;
constexpr size_t kMaxEncodingName = 100;
constexpr unsigned kUtf8CodePage = 65001;

std::u16string Number(size_t value) { return Utf8ToUtf16(std::to_string(value)); }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

size_t FindIgnoringCase(std::u16string_view text, std::u16string_view word) {
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (EqualsIgnoringCase(text.substr(i, word.size()), word)) return i;
  }
  return std::u16string_view::npos;
}

// "text/html; charset=windows-1252" gives "windows-1252".
std::u16string CharsetOf(std::u16string_view content) {
  size_t pos = FindIgnoringCase(content, u"charset");
  if (pos == std::u16string_view::npos) return {};
  pos += 7;
  while (pos < content.size() && IsMarkupSpace(content[pos])) ++pos;
  if (pos >= content.size() || content[pos] != u'=') return {};
  ++pos;
  while (pos < content.size() && IsMarkupSpace(content[pos])) ++pos;
  size_t end = pos;
  while (end < content.size() && !IsMarkupSpace(content[end]) && content[end] != u';' &&
         content[end] != u'"' && content[end] != u'\'')
    ++end;
  return std::u16string(content.substr(pos, end - pos));
}

// What follows a tag's name, without its closing ">" (or "?>").
std::u16string_view AttributeTokens(std::u16string_view text, const MarkupNode& node) {
  const size_t closing = node.kind == NodeKind::kProcessingInstruction ? 2 : 1;
  return text.substr(node.nameEnd, node.end - closing - node.nameEnd);
}

std::u16string AttributeOf(std::u16string_view text, const MarkupNode& node,
                           std::u16string_view name) {
  return std::u16string(FindAttribute(AttributeTokens(text, node), name).value_or(u""));
}

// How the bytes are to be read, from steps that look only at the start of the file.
struct Reading {
  std::u16string name;  // the encoding name known before the content is read
  size_t markLength = 0;
  size_t unitBytes = 1;  // 2 for UTF-16 with a mark, 4 for UTF-32
  bool bigEndian = false;
  uint32_t flags = kMarkupReadFile;
};

Reading ChooseReading(std::string_view bytes) {
  Reading reading;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    reading = {u"UTF-8", 3, 1, false, kMarkupReadFile | kMarkupUtf8Mark};
  } else if (bytes.starts_with("\xFF\xFE")) {
    reading = {u"UTF-16LE", 2, 2, false, kMarkupReadFile | kMarkupUtf16LeMark};
  } else if (bytes.starts_with("\xFE\xFF")) {
    reading = {u"UTF-16BE", 2, 2, true, kMarkupReadFile | kMarkupUtf16BeMark};
  } else {
    reading.name = DeclaredEncoding(bytes.substr(0, kHeadBytes));
    if (reading.name.empty() && bytes.starts_with('<')) reading.name = u"UTF-8";
    if (reading.name.starts_with(u"UTF-32")) reading.unitBytes = 4;
  }
  return reading;
}

uint32_t UnitAt(std::string_view bytes, size_t index, size_t unitBytes, bool bigEndian) {
  uint32_t unit = 0;
  for (size_t i = 0; i < unitBytes; ++i) {
    const size_t byte = bigEndian ? i : unitBytes - 1 - i;
    unit = (unit << 8) | static_cast<unsigned char>(bytes[index * unitBytes + byte]);
  }
  return unit;
}

// UTF-16 and UTF-32 content, unit by unit; zero units are dropped and counted.
std::u16string ReadUnits(std::string_view bytes, const Reading& reading, size_t& nulls) {
  const size_t units = bytes.size() / reading.unitBytes;
  std::u16string text;
  text.reserve(units);
  nulls = 0;
  for (size_t i = 0; i < units; ++i) {
    const uint32_t unit = UnitAt(bytes, i, reading.unitBytes, reading.bigEndian);
    if (unit == 0) {
      ++nulls;
    } else if (reading.unitBytes == 2) {
      text += static_cast<char16_t>(unit);
    } else {
      const bool scalar = unit <= 0x10FFFF && !(unit >= 0xD800 && unit <= 0xDFFF);
      AppendCodePoint(text, scalar ? unit : 0xFFFD);
    }
  }
  return text;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes a well-formed two- or three-byte sequence at bytes[pos] into out;
// false for anything else, which the general decoder then handles.
bool DecodeCommonSequence(std::string_view bytes, size_t& pos, char16_t*& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + pos;
  const size_t left = bytes.size() - pos;
  if (p[0] >= 0xC2 && p[0] <= 0xDF && left >= 2 && IsContinuation(p[1])) {
    *out++ = static_cast<char16_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
    pos += 2;
    return true;
  }
  if ((p[0] & 0xF0) == 0xE0 && left >= 3 && IsContinuation(p[1]) && IsContinuation(p[2])) {
    const char16_t unit =
        static_cast<char16_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
    if (unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)) return false;
    *out++ = unit;
    pos += 3;
    return true;
  }
  return false;
}

// Decoded units gather in a small buffer that is appended to the text, so the
// text's memory is written once (a resized string would be zero-filled first).
class Utf16Builder {
 public:
  static constexpr size_t kMinRoom = 8;

  explicit Utf16Builder(size_t capacity) { text_.reserve(capacity); }

  // Where the next units go; there is room for at least kMinRoom of them, up to RoomEnd().
  char16_t* Room() {
    if (used_ > kBuffer - kMinRoom) Flush();
    return buffer_ + used_;
  }
  const char16_t* RoomEnd() const { return buffer_ + kBuffer; }
  void Commit(const char16_t* end) { used_ = static_cast<size_t>(end - buffer_); }
  void Append(std::u16string_view units) {
    Flush();
    text_ += units;
  }
  std::u16string Take() {
    Flush();
    return std::move(text_);
  }

 private:
  void Flush() {
    text_.append(buffer_, used_);
    used_ = 0;
  }

  static constexpr size_t kBuffer = 4096;
  std::u16string text_;
  char16_t buffer_[kBuffer];
  size_t used_ = 0;
};

// Copies ASCII eight bytes at a time while there is room, and the ASCII bytes
// that start the block where a non-ASCII byte turns up. All eight units are
// always written (a fixed-size copy is quicker); those past the ASCII bytes are
// overwritten next.
char16_t* CopyAscii(std::string_view bytes, size_t& pos, char16_t* out, const char16_t* outEnd) {
  while (bytes.size() - pos >= 8 && outEnd - out >= 8) {
    uint64_t block;
    std::memcpy(&block, bytes.data() + pos, sizeof block);
    const uint64_t highBits = block & 0x8080808080808080u;
    const int ascii = highBits == 0                                ? 8
                      : std::endian::native == std::endian::little ? std::countr_zero(highBits) / 8
                                                                   : 0;
    for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(bytes[pos + i]);
    out += ascii;
    pos += ascii;
    if (ascii < 8) break;
  }
  return out;
}

// ASCII is copied eight bytes at a time and common sequences decoded in place;
// anything else, up to the next ASCII byte, goes through the general decoder
// (an ASCII byte never belongs to a multi-byte sequence, so cutting there is safe).
std::u16string DecodeUtf8(std::string_view bytes) {
  Utf16Builder text(bytes.size());  // never more units than bytes
  size_t pos = 0;
  while (pos < bytes.size()) {
    char16_t* out = CopyAscii(bytes, pos, text.Room(), text.RoomEnd());
    if (pos < bytes.size() && out != text.RoomEnd()) {
      if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
        *out++ = static_cast<char16_t>(bytes[pos++]);
      } else if (!DecodeCommonSequence(bytes, pos, out)) {
        text.Commit(out);
        const size_t runBegin = pos;
        while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) >= 0x80) ++pos;
        text.Append(Utf8ToUtf16(bytes.substr(runBegin, pos - runBegin)));
        continue;
      }
    }
    text.Commit(out);
  }
  return text.Take();
}

unsigned CodePageOfName(std::u16string_view name) {
  if (name.empty() || name.size() >= kMaxEncodingName) return AnsiCodePage();
  const unsigned codePage = CodePageForName(Utf16ToUtf8(name));
  return codePage != 0 ? codePage : AnsiCodePage();
}

std::u16string DecodeBytes(std::u16string_view name, std::string_view bytes) {
  const unsigned codePage = CodePageOfName(name);
  return codePage == kUtf8CodePage ? DecodeUtf8(bytes) : DecodeCodePage(codePage, bytes);
}

std::string WithoutNulls(std::string_view bytes, size_t& nulls) {
  std::string kept(bytes);
  nulls = static_cast<size_t>(std::erase(kept, '\0'));
  return kept;
}

struct ReadNotes {
  std::u16string encoding;  // how the file names its encoding, before the notes
  std::u16string notes;
};

void ReadWideContent(std::string_view bytes, const Reading& reading, DecodedMarkup& out,
                     ReadNotes& notes) {
  size_t nulls = 0;
  out.text = ReadUnits(bytes, reading, nulls);
  notes.notes += u"length " + Number(bytes.size() / reading.unitBytes) + u" ";
  if (bytes.size() % reading.unitBytes != 0) notes.notes += u"(incomplete last unit dropped) ";
  if (nulls > 0) notes.notes += u"(" + Number(nulls) + u" nulls removed) ";
  if (reading.unitBytes == 2 && reading.bigEndian) notes.notes += u"endian swap ";
  if (reading.unitBytes == 4) notes.notes += u"to " + Number(out.text.size()) + u" wide chars ";
}

void ReadByteContent(std::string_view bytes, const Reading& reading, DecodedMarkup& out,
                     ReadNotes& notes) {
  notes.notes += u"length " + Number(bytes.size()) + u" ";
  size_t nulls = 0;
  const bool hasNulls = bytes.find('\0') != std::string_view::npos;
  const std::string kept = hasNulls ? WithoutNulls(bytes, nulls) : std::string();
  const std::string_view content = hasNulls ? std::string_view(kept) : bytes;
  if (nulls > 0) notes.notes += u"(" + Number(nulls) + u" nulls removed) ";
  std::u16string name = reading.name;
  if (name.empty()) {
    if (LooksLikeUtf8(content)) name = u"UTF-8";
    notes.encoding = name.empty() ? u"ANSI " : name + u" ";
    notes.notes += u"(used UTF-8 detection) ";
  }
  out.text = DecodeBytes(name, content);
  notes.notes += u"to " + Number(out.text.size()) + u" wide chars ";
}

}  // namespace

DecodedMarkup DecodeMarkup(std::string_view bytes) {
  const Reading reading = ChooseReading(bytes);
  bytes.remove_prefix(reading.markLength);
  DecodedMarkup out;
  out.flags = reading.flags;
  ReadNotes notes;
  if (!reading.name.empty())
    notes.encoding = reading.name + (reading.markLength > 0 ? u" BOM + " : u" ");
  else
    notes.encoding = u"ANSI ";
  if (bytes.empty())
    notes.notes = u"0 length ";
  else if (reading.unitBytes > 1)
    ReadWideContent(bytes, reading, out, notes);
  else
    ReadByteContent(bytes, reading, out, notes);
  out.report = notes.encoding + notes.notes;
  return out;
}

std::u16string DeclaredEncoding(std::string_view head) {
  const std::u16string text = Utf8ToUtf16(head);
  bool html = false;
  bool seenEndTag = false;
  for (size_t pos = 0; pos < text.size();) {
    const MarkupNode node = ScanNode(text, pos);
    pos = node.end;
    if (node.kind == NodeKind::kUnterminated) break;
    if (node.kind == NodeKind::kProcessingInstruction && !seenEndTag &&
        NodeName(text, node) == u"xml")
      return AttributeOf(text, node, u"encoding");
    if (node.kind == NodeKind::kEndTag) {
      seenEndTag = true;
      if (html && EqualsIgnoringCase(NodeName(text, node), u"head")) break;
    }
    if (node.kind != NodeKind::kStartTag) continue;
    const std::u16string_view name = NodeName(text, node);
    if (!html) {
      if (!EqualsIgnoringCase(name, u"html")) break;
      html = true;
    } else if (EqualsIgnoringCase(name, u"meta") &&
               EqualsIgnoringCase(AttributeOf(text, node, u"http-equiv"), u"Content-Type")) {
      return CharsetOf(AttributeOf(text, node, u"content"));
    }
  }
  return {};
}

bool LooksLikeUtf8(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[pos++]);
    if (lead == 0) break;
    if (lead < 0x80) continue;
    int following = (lead & 0x20) == 0 ? 1 : (lead & 0x10) == 0 ? 2 : (lead & 0x08) == 0 ? 3 : -1;
    if (following < 0) return false;
    for (; following > 0; --following, ++pos) {
      if (pos >= bytes.size() || (static_cast<unsigned char>(bytes[pos]) & 0x80) == 0) return false;
    }
  }
  return true;
}

}  // namespace vespera
