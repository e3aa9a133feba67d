// Reading a large language file: our load-and-parse against pugixml's on the
// same bytes, and the lookups the programs make on it.
//   build/host/bench/markup_doc_bench

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "common/MarkupDoc.h"
#include "common/TextUtf.h"

namespace {

constexpr size_t kTargetBytes = 5 * 1024 * 1024;
constexpr int kKeysPerSection = 40;

std::string KeyName(int section, int key) {
  return "STR_" + std::to_string(section) + "_" + std::to_string(key);
}

// A Strings.xml-like file: sections of keys whose texts mix ASCII, accented and
// CJK text with a few character references.
std::string LanguageFile(int& sections) {
  std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Strings>\r\n";
  sections = 0;
  while (xml.size() < kTargetBytes) {
    xml += "  <SECTION_" + std::to_string(sections) + ">\r\n";
    for (int key = 0; key < kKeysPerSection; ++key) {
      const std::string name = KeyName(sections, key);
      xml += "    <" + name + " font=\"Arial\" size=\"" + std::to_string(8 + key % 5) + "\">" +
             "Press &quot;OK&quot; to save the profile &amp; continue \xE2\x80\x94 "
             "Param\xC3\xA8tres enregistr\xC3\xA9s \xE8\xA8\xAD\xE5\xAE\x9A&#x2122;</" +
             name + ">\r\n";
    }
    xml += "  </SECTION_" + std::to_string(sections) + ">\r\n";
    ++sections;
  }
  return xml + "</Strings>\r\n";
}

struct LanguageFileOnDisk {
  LanguageFileOnDisk() {
    path = std::filesystem::temp_directory_path() / "vespera-bench-Strings.xml";
    const std::string xml = LanguageFile(sections);
    bytes = xml.size();
    std::ofstream(path, std::ios::binary)
        .write(xml.data(), static_cast<std::streamsize>(xml.size()));
  }
  ~LanguageFileOnDisk() { std::filesystem::remove(path); }

  std::filesystem::path path;
  size_t bytes = 0;
  int sections = 0;
};

const LanguageFileOnDisk& File() {
  static const LanguageFileOnDisk file;
  return file;
}

void BM_MarkupDocLoadAndParse(benchmark::State& state) {
  const auto& file = File();
  const std::u16string path = file.path.u16string();
  for (auto _ : state) {
    vespera::MarkupDoc doc;
    benchmark::DoNotOptimize(doc.LoadFile(path));
    benchmark::DoNotOptimize(doc.Parse());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
}
BENCHMARK(BM_MarkupDocLoadAndParse)->Unit(benchmark::kMillisecond);

void BM_PugixmlLoadFile(benchmark::State& state) {
  const auto& file = File();
  for (auto _ : state) {
    pugi::xml_document doc;
    benchmark::DoNotOptimize(doc.load_file(file.path.c_str()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
}
BENCHMARK(BM_PugixmlLoadFile)->Unit(benchmark::kMillisecond);

// 10,000 lookups spread over the whole file; each one walks the sections from
// the first, as the programs' lookups do.
void BM_MarkupDoc10000Lookups(benchmark::State& state) {
  const auto& file = File();
  vespera::MarkupDoc doc;
  doc.LoadFile(file.path.u16string());
  doc.Parse();
  std::vector<std::pair<std::u16string, std::u16string>> questions;
  for (int i = 0; i < 10000; ++i) {
    const int section = static_cast<int>((i * 7919LL) % file.sections);
    questions.emplace_back(vespera::Utf8ToUtf16("SECTION_" + std::to_string(section)),
                           vespera::Utf8ToUtf16(KeyName(section, i % kKeysPerSection)));
  }
  for (auto _ : state) {
    for (const auto& [section, key] : questions)
      benchmark::DoNotOptimize(doc.LookupText(section, key));
  }
}
BENCHMARK(BM_MarkupDoc10000Lookups)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
