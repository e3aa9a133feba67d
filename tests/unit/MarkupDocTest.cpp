#include "common/MarkupDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/TextUtf.h"
#include "support/TempFolder.h"

namespace vespera {
namespace {

using test::TempFolder;

std::string Repeat(std::string_view part, size_t times) {
  std::string out;
  out.reserve(part.size() * times);
  for (size_t i = 0; i < times; ++i) out += part;
  return out;
}

class MarkupDocTest : public ::testing::Test {
 protected:
  // Loads UTF-8 markup and parses it; returns what Parse answered.
  bool Load(std::string_view markup) {
    EXPECT_TRUE(doc.LoadBytes(markup));
    return doc.Parse();
  }
  // The part of the read report after the reading notes.
  std::u16string Problem() const {
    const std::u16string report = doc.ReadReport();
    const size_t notes = report.find(u"wide chars ");
    return notes == std::u16string::npos ? report : report.substr(notes + 11);
  }
  const ElementRecord& Element(uint32_t number) const { return doc.Elements()[number]; }

  MarkupDoc doc;
};

// --- reading files ---

TEST_F(MarkupDocTest, ReadsAFileAndReportsHowItWasRead) {
  TempFolder folder;
  // 50 two-byte characters and 1,100 ASCII ones: 1,200 bytes giving 1,150 characters.
  const std::string content = "<r>" + Repeat("\xC3\xA9", 50) + std::string(1093, 'x') + "</r>";
  const std::u16string path = folder.WriteFile(u"Strings.xml", "\xEF\xBB\xBF" + content);
  ASSERT_TRUE(doc.LoadFile(path));
  EXPECT_EQ(doc.ReadReport(), u"UTF-8 BOM + length 1200 to 1150 wide chars ");
  EXPECT_EQ(doc.Flags(), kMarkupReadFile | kMarkupUtf8Mark);
  EXPECT_TRUE(doc.Parse());
  EXPECT_EQ(doc.ReadReport(), u"UTF-8 BOM + length 1200 to 1150 wide chars ");
}

TEST_F(MarkupDocTest, AFileThatCannotBeOpenedLeavesTheSystemMessage) {
  TempFolder folder;
  ASSERT_TRUE(Load("<r><s><k>old</k></s></r>"));
  for (const std::u16string& path : {folder.File(u"missing.xml"), folder.File(u"")}) {
    EXPECT_FALSE(doc.LoadFile(path));
    const std::u16string report = doc.ReadReport();
    EXPECT_FALSE(report.empty());
    EXPECT_LE(report.size(), 100u);
    EXPECT_EQ(report.find_first_of(u"\r\n"), std::u16string::npos);
    EXPECT_TRUE(doc.Text().empty());
    // The index of the document read before is gone with its text.
    EXPECT_EQ(doc.LookupText(u"s", u"k"), u"");
  }
}

TEST_F(MarkupDocTest, RefusesAFileTooLargeToIndex) {
  TempFolder folder;
  const std::filesystem::path path = folder.Path() / "huge.xml";
  std::error_code error;
  folder.WriteFile(u"huge.xml", "<");
  std::filesystem::resize_file(path, MarkupDoc::kMaxFileBytes + 1, error);
  if (error) GTEST_SKIP() << "no sparse file here: " << error.message();
  EXPECT_FALSE(doc.LoadFile(path.u16string()));
  EXPECT_FALSE(doc.ReadReport().empty());
  EXPECT_TRUE(doc.Text().empty());
}

TEST_F(MarkupDocTest, ANewDocumentAnswersEmptyText) {
  EXPECT_TRUE(doc.Text().empty());
  EXPECT_EQ(doc.ReadReport(), u"Empty document");
  EXPECT_EQ(doc.LookupText(u"s", u"k"), u"");
  EXPECT_EQ(doc.LookupAttribute(u"s", u"k", u"a"), u"");
}

TEST_F(MarkupDocTest, AMarkAloneReadsAsAnEmptyDocument) {
  EXPECT_TRUE(doc.LoadBytes("\xFF\xFE"));
  EXPECT_FALSE(doc.Parse());
  EXPECT_EQ(doc.ReadReport(), u"UTF-16LE BOM + 0 length Empty document");
  EXPECT_EQ(doc.LookupText(u"s", u"k"), u"");
}

// --- parsing and its problems ---

struct ProblemCase {
  const char* markup;
  std::u16string problem;
};

TEST_F(MarkupDocTest, RecordsTheFirstProblemInTheReport) {
  const ProblemCase cases[] = {
      {"just text", u"No root element"},
      {"<a/><b/>", u"Root element has sibling"},
      {"<a></b></a>", u"No start tag for end tag 'b' at offset 3"},
      {"<r><a><b></r>", u"End tag 'r' at offset 10 does not match start tag 'b' at offset 6"},
      {"<r><a>", u"Element 'a' at offset 3 not ended"},
      {"<r>< x</r>", u"Incorrect tag name character at offset 3"},
      {"<r><!x></r>", u"Incorrect ! tag at offset 3"},
      {"<r><!-x></r>", u"Incorrect comment tag at offset 3"},
      {"<r><![x></r>", u"Incorrect tag at offset 3"},
      {"<r><a b='>", u"Element tag at offset 3 unterminated"},
      {"<r></r", u"Element end tag at offset 3 unterminated"},
      {"<r><![CDATA[x", u"CDATA Section at offset 3 unterminated"},
      {"<r><?pi x", u"Processing instruction at offset 3 unterminated"},
      {"<r><!-- x --", u"Comment at offset 3 unterminated"},
      {"<!DOCTYPE r [<!ENTITY x 'a>b'>", u"Doctype at offset 0 unterminated"},
      {"<r><!ELEMENT x", u"tag at offset 3 unterminated"},
      {"<r>a <", u"tag at offset 5 unterminated"},
      {"<r></x><1></r>", u"No start tag for end tag 'x' at offset 3"},  // only the first
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Load(c.markup)) << c.markup;
    EXPECT_EQ(Problem(), c.problem) << c.markup;
  }
}

TEST_F(MarkupDocTest, AcceptsEveryKindOfNodeInAWellFormedDocument) {
  const char* markup =
      "<?xml version='1.0'?>\r\n<!DOCTYPE r [<!ENTITY x '>'><!-- ] > -->]>"
      "<!-- c --><r a='>' b=\"/>\"><![CDATA[<x>]]><?pi ?><e/></r>\r\n";
  EXPECT_TRUE(Load(markup));
  EXPECT_EQ(Problem(), u"");
  EXPECT_EQ(Element(0).flags & ElementRecord::kIllFormed, 0u);
  EXPECT_EQ(doc.Elements().Size(), 3u);
}

TEST_F(MarkupDocTest, IllFormedDocumentsAreMarkedOnEntryZero) {
  ASSERT_FALSE(Load("<r><a></r>"));
  EXPECT_NE(Element(0).flags & ElementRecord::kIllFormed, 0u);
  ASSERT_FALSE(Load("<a/><b/>"));  // two roots: not well formed, yet no parse fault
  EXPECT_EQ(Element(0).flags & ElementRecord::kIllFormed, 0u);
}

TEST_F(MarkupDocTest, PacksOffsetsLengthsAndLinks) {
  const std::string markup = "<r><a x='1'>t</a><b/></r>";
  ASSERT_TRUE(Load(markup));
  ASSERT_EQ(doc.Elements().Size(), 4u);
  EXPECT_EQ(Element(0).length, markup.size());
  EXPECT_EQ(Element(0).firstChild, 1u);

  const ElementRecord& r = Element(1);
  EXPECT_EQ(r.start, 0u);
  EXPECT_EQ(r.length, markup.size());
  EXPECT_EQ(r.tagLengths, 3u | (4u << 22));
  EXPECT_EQ(r.flags, ElementRecord::kFirstChild | 0u);
  EXPECT_EQ(r.firstChild, 2u);

  const ElementRecord& a = Element(2);
  EXPECT_EQ(a.start, 3u);
  EXPECT_EQ(a.length, 14u);
  EXPECT_EQ(a.StartTagLength(), 9u);
  EXPECT_EQ(a.EndTagLength(), 4u);
  EXPECT_EQ(a.flags, ElementRecord::kFirstChild | 1u);
  EXPECT_EQ(a.parent, 1u);
  EXPECT_EQ(a.nextSibling, 3u);
  EXPECT_EQ(a.previousSibling, 3u);  // the first child keeps the last one

  const ElementRecord& b = Element(3);
  EXPECT_EQ(b.length, 4u);
  EXPECT_EQ(b.tagLengths, 4u);
  EXPECT_EQ(b.flags, 1u);
  EXPECT_EQ(b.previousSibling, 2u);
  EXPECT_EQ(b.nextSibling, 0u);
}

TEST_F(MarkupDocTest, ChildrenOfAnElementNotEndedMoveUpAsSiblings) {
  ASSERT_FALSE(Load("<R><A><B>x</B><C/></R>"));
  const ElementRecord& a = Element(2);
  EXPECT_NE(a.flags & ElementRecord::kNotEnded, 0u);
  EXPECT_EQ(a.length, 3u);
  EXPECT_EQ(a.EndTagLength(), 0u);
  EXPECT_EQ(a.firstChild, 0u);
  // R now holds A, B and C in document order, all one level down.
  EXPECT_EQ(Element(1).firstChild, 2u);
  EXPECT_EQ(a.nextSibling, 3u);
  EXPECT_EQ(Element(3).nextSibling, 4u);
  EXPECT_EQ(Element(2).previousSibling, 4u);
  for (uint32_t moved : {3u, 4u}) {
    EXPECT_EQ(Element(moved).parent, 1u);
    EXPECT_EQ(Element(moved).Level(), 1u);
    EXPECT_EQ(Element(moved).flags & ElementRecord::kFirstChild, 0u);
  }
  EXPECT_EQ(doc.LookupText(u"A", u"B"), u"");
  EXPECT_EQ(doc.LookupText(u"R", u"B"), u"");  // R is the root, not a section
  doc.Rewind();
  EXPECT_TRUE(doc.FindChild(u"B"));
  EXPECT_EQ(doc.ChildText(), u"x");
}

TEST_F(MarkupDocTest, ElementsOpenAtTheEndAreFlattenedInOrder) {
  ASSERT_FALSE(Load("<r><a><b>"));
  EXPECT_EQ(Problem(), u"Element 'b' at offset 6 not ended");
  // All three lose their content and become roots, one after the other.
  EXPECT_EQ(Element(0).firstChild, 1u);
  EXPECT_EQ(Element(1).nextSibling, 2u);
  EXPECT_EQ(Element(2).nextSibling, 3u);
  EXPECT_EQ(Element(1).previousSibling, 3u);
  for (uint32_t element : {1u, 2u, 3u}) {
    EXPECT_NE(Element(element).flags & ElementRecord::kNotEnded, 0u);
    EXPECT_EQ(Element(element).parent, 0u);
    EXPECT_EQ(Element(element).Level(), 0u);
  }
}

struct EmptyTagCase {
  const char* tag;
  bool empty;
};

TEST_F(MarkupDocTest, TellsEmptyElementsByTheSlashBeforeTheClosingBracket) {
  const EmptyTagCase cases[] = {
      {"<a/>", true},         {"<a />", true},     {"<a b='1'/>", true},
      {"<a b=\"x\"/>", true}, {"<a b=1/>", false}, {"<a b='/>'>", false},
  };
  for (const auto& c : cases) {
    Load(std::string("<r>") + c.tag + "</r>");
    EXPECT_EQ(Problem().empty(), c.empty) << c.tag;
  }
  Load("<r><a b=1/></r>");
  doc.Rewind();
  ASSERT_TRUE(doc.FindChild(u"a"));
  EXPECT_EQ(doc.ChildAttribute(u"b"), u"1/");
}

TEST_F(MarkupDocTest, ParsingAgainGivesTheSameIndexAndReport) {
  Load("<r><a></r>");
  const std::u16string report = doc.ReadReport();
  const uint32_t size = doc.Elements().Size();
  EXPECT_FALSE(doc.Parse());
  EXPECT_EQ(doc.ReadReport(), report);
  EXPECT_EQ(doc.Elements().Size(), size);
}

// --- position and lookups ---

TEST_F(MarkupDocTest, MovesThroughParentCurrentAndChild) {
  ASSERT_TRUE(Load("<r><a/><b><c/></b><a/></r>"));
  EXPECT_TRUE(doc.FindSibling(u""));
  EXPECT_EQ(doc.Current(), 1u);
  EXPECT_FALSE(doc.FindSibling(u"x"));
  EXPECT_EQ(doc.Current(), 1u);

  EXPECT_TRUE(doc.FindChild(u"a"));
  EXPECT_EQ(doc.Child(), 2u);
  EXPECT_TRUE(doc.FindChild(u"a"));  // searches on after the child position
  EXPECT_EQ(doc.Child(), 5u);
  EXPECT_FALSE(doc.FindChild(u"a"));
  EXPECT_EQ(doc.Child(), 5u);

  doc.Rewind();
  EXPECT_TRUE(doc.FindChild(u"b"));  // makes the root current first
  EXPECT_EQ(doc.Current(), 1u);
  EXPECT_EQ(doc.Parent(), 0u);
  doc.EnterChild();
  EXPECT_EQ(doc.Parent(), 1u);
  EXPECT_EQ(doc.Current(), 3u);
  EXPECT_EQ(doc.Child(), 0u);
  EXPECT_TRUE(doc.FindChild(u"c"));
  EXPECT_EQ(doc.Child(), 4u);
  EXPECT_EQ(doc.Parent(), 1u);
  EXPECT_TRUE(doc.FindSibling(u"a"));
  EXPECT_EQ(doc.Current(), 5u);
  EXPECT_EQ(doc.Child(), 0u);
}

constexpr const char* kStrings =
    "<Strings>"
    "<Dialog><FONT_SIZE size='9'>12</FONT_SIZE><FONT size='10'>Arial</FONT></Dialog>"
    "<Menu><ITEM>first</ITEM></Menu>"
    "<Menu><ITEM2>second</ITEM2></Menu>"
    "<Deep><Deep><KEY id='d'>nested</KEY></Deep></Deep>"
    "</Strings>";

struct LookupCase {
  const char16_t* section;
  const char16_t* key;
  std::u16string text;
};

TEST_F(MarkupDocTest, LooksUpTextBySectionAndKey) {
  ASSERT_TRUE(Load(kStrings));
  const LookupCase cases[] = {
      {u"Dialog", u"FONT", u"Arial"},  // names match whole, never as a prefix
      {u"Dialog", u"FONT_SIZE", u"12"}, {u"Menu", u"ITEM", u"first"},
      {u"Menu", u"ITEM2", u""},  // only the first Menu and Menus inside it are searched
      {u"Deep", u"KEY", u"nested"},     {u"dialog", u"FONT", u""},  // case counts
      {u"Missing", u"FONT", u""},       {u"Dialog", u"Missing", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(doc.LookupText(c.section, c.key), c.text)
        << Utf16ToUtf8(c.section) << "/" << Utf16ToUtf8(c.key);
  }
  EXPECT_EQ(doc.LookupAttribute(u"Dialog", u"FONT", u"size"), u"10");
  EXPECT_EQ(doc.LookupAttribute(u"Deep", u"KEY", u"id"), u"d");
  EXPECT_EQ(doc.LookupAttribute(u"Dialog", u"FONT", u"missing"), u"");
  EXPECT_EQ(doc.LookupAttribute(u"Menu", u"ITEM2", u"size"), u"");
}

TEST_F(MarkupDocTest, LooksUpUnderTheFirstRootWhenThereAreTwo) {
  EXPECT_FALSE(Load("<a><s><k>v</k></s></a><b><s><k>w</k></s></b>"));
  EXPECT_EQ(Problem(), u"Root element has sibling");
  EXPECT_EQ(doc.LookupText(u"s", u"k"), u"v");
}

struct TextCase {
  const char* content;
  std::u16string text;
};

TEST_F(MarkupDocTest, ChildTextDecodesContentAndDropsMarkup) {
  const TextCase cases[] = {
      {"&lt;b&gt;", u"<b>"},
      {"&#x41;&#65;&AMP;&oslash;&bogus;", u"AA&\u00F8&bogus;"},
      {"x<!-- comment -->y", u"xy"},
      {"a <![CDATA[<b>&amp;]]> c", u"a <b>&amp; c"},
      {"\r\n  <!-- c -->\r\n  ", u""},
      {"   ", u"   "},  // no markup: the content as it is
      {"<?pi?>t&amp;", u"t&"},
      {"t<c/>", u""},  // an element with children has no text
      {"", u""},
      {"caf\xC3\xA9", u"caf\u00E9"},
  };
  for (const auto& c : cases) {
    Load(std::string("<r><s><k>") + c.content + "</k><e/></s></r>");
    EXPECT_EQ(doc.LookupText(u"s", u"k"), c.text) << c.content;
  }
  Load("<r><s><k/></s></r>");
  EXPECT_EQ(doc.LookupText(u"s", u"k"), u"");
}

TEST_F(MarkupDocTest, ChildAttributeReadsTheTokensOfTheStartTag) {
  ASSERT_TRUE(
      Load("<r><s><k FONT_SIZE='9' FONT=\"Arial\" b='x y' c=plain d = \"sp\" "
           "e=\"&amp;&lt;\" FONT='second' f g=\"a>b\"/></s></r>"));
  const std::pair<const char16_t*, std::u16string> cases[] = {
      {u"FONT", u"Arial"},  // the first wins; FONT_SIZE is another name
      {u"FONT_SIZE", u"9"}, {u"b", u"x y"}, {u"c", u"plain"}, {u"d", u"sp"},     {u"e", u"&<"},
      {u"f", u""},          {u"g", u"a>b"}, {u"font", u""},   {u"missing", u""},
  };
  for (const auto& [name, value] : cases)
    EXPECT_EQ(doc.LookupAttribute(u"s", u"k", name), value) << Utf16ToUtf8(name);
}

// --- bad input ---

TEST_F(MarkupDocTest, EveryCutOfADocumentReadsWithoutHarm) {
  const std::string markup =
      "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?><!DOCTYPE r [<!ENTITY x 'y'>]>"
      "<r a=\"1\"><!-- c --><s><k b='2'>t&amp;<![CDATA[z]]></k></s><e/></r>";
  for (size_t length = 0; length <= markup.size(); ++length) {
    doc.LoadBytes(std::string_view(markup).substr(0, length));
    doc.Parse();
    doc.LookupText(u"s", u"k");
    doc.LookupAttribute(u"s", u"k", u"b");
  }
  EXPECT_EQ(doc.LookupText(u"s", u"k"), u"t&z");
}

TEST_F(MarkupDocTest, BinaryAndWronglyMarkedFilesReadWithoutHarm) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  const std::string cases[] = {
      binary,
      "\xFE\xFF" + std::string("<\0a\0/\0>\0", 8),  // little-endian text behind a big-endian mark
      "\xFF\xFE" + binary, std::string("<\0r\0>\0<\0/\0r\0>\0", 14),  // UTF-16 without a mark
  };
  for (const std::string& bytes : cases) {
    EXPECT_TRUE(doc.LoadBytes(bytes));
    doc.Parse();
    EXPECT_EQ(doc.LookupText(u"s", u"k"), u"");
  }
  EXPECT_TRUE(Load(cases[3]));  // its zero bytes go, leaving the markup
}

TEST_F(MarkupDocTest, DeepNestingNeedsNoRecursion) {
  constexpr size_t kDepth = 10000;
  ASSERT_TRUE(Load(Repeat("<a>", kDepth) + "x" + Repeat("</a>", kDepth)));
  EXPECT_EQ(Element(kDepth).Level(), kDepth - 1);
  ASSERT_FALSE(Load(Repeat("<a>", kDepth)));
  EXPECT_EQ(Problem(), u"Element 'a' at offset 29997 not ended");
  EXPECT_EQ(Element(kDepth).parent, 0u);
  // End tags that match nothing, on a deep stack, cost no walk through it.
  ASSERT_FALSE(Load(Repeat("<a>", kDepth) + Repeat("</b>", 5 * kDepth) + Repeat("</a>", kDepth)));
  EXPECT_EQ(Problem(), u"No start tag for end tag 'b' at offset 30000");
}

TEST_F(MarkupDocTest, LevelsDeeperThanTheFieldStayAtItsMaximum) {
  constexpr size_t kDepth = 70000;
  ASSERT_TRUE(Load(Repeat("<a>", kDepth) + Repeat("</a>", kDepth)));
  EXPECT_EQ(Element(kDepth).Level(), ElementRecord::kMaxLevel);
  EXPECT_NE(Element(kDepth).flags & ElementRecord::kFirstChild, 0u);
  EXPECT_EQ(Element(kDepth).flags & ElementRecord::kNotEnded, 0u);
}

// Tags too long for their packed length fields are skipped, never cut short.
TEST_F(MarkupDocTest, OverlongTagsAreSkippedWithAProblem) {
  const std::string bigValue(5 * 1024 * 1024, 'x');
  EXPECT_FALSE(Load("<r><s><big v='" + bigValue + "'/><k>ok</k></s></r>"));
  EXPECT_EQ(Problem(), u"Element tag at offset 6 too long");
  EXPECT_EQ(doc.LookupText(u"s", u"k"), u"ok");
  EXPECT_EQ(doc.Elements().Size(), 4u);

  EXPECT_FALSE(Load("<r><s><k>v</k" + std::string(1100, ' ') + "><j>w</j></s></r>"));
  EXPECT_EQ(Problem(), u"Element end tag at offset 10 too long");
  EXPECT_EQ(doc.LookupText(u"s", u"j"), u"w");
}

TEST_F(MarkupDocTest, ReadsA50MegabyteFile) {
  std::string markup = "<Strings>";
  const std::string section =
      "<Section>" + Repeat("<KEY_NAME>Some text &amp; more</KEY_NAME>", 100) + "</Section>";
  while (markup.size() < 50 * 1024 * 1024) markup += section;
  markup += "<Last><KEY>end</KEY></Last></Strings>";
  TempFolder folder;
  ASSERT_TRUE(doc.LoadFile(folder.WriteFile(u"big.xml", markup)));
  EXPECT_TRUE(doc.Parse());
  EXPECT_EQ(doc.LookupText(u"Last", u"KEY"), u"end");
}

}  // namespace
}  // namespace vespera
