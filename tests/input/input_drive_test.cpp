// The whole input reading over the fuzz corpus, the example decks and their
// cut and mangled variants: nothing crashes, a deck that reads stays within
// every table, a deck that fails says so with one of the engine's own codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../../fuzz/reader_drive.h"
#include "engine/run.h"
#include "input/input.h"
#include "support/test_support.h"

using namespace kestra;

namespace {

bool drive(const std::string& bytes) {
  return kestra_fuzz::INPUT_DRIVE(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// The status of READ_INPUT over a deck text.
int read_status(const std::string& text) {
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  FILE* in = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), in);
  std::rewind(in);
  run->files.fp[F_INPUT] = in;
  FILE* sink = std::fopen("/dev/null", "w");
  run->files.fp[F_RUNTIME] = run->files.fp[F_REPORT] = sink;
  SET_ENTRY_VALUES(*run);
  const int st = READ_INPUT(*run);
  std::fclose(in);
  std::fclose(sink);
  return st;
}

std::vector<std::string> decks() {
  std::vector<std::string> out;
  for (const char* rel : {"examples/pier3d.dat", "examples/abutment2d.dat", "tests/input/data/echo2d_english.dat",
                          "tests/input/data/echo3d_si.dat", "tests/input/data/echo2d_open.dat"})
    out.push_back(kestra_test::read_file(kestra_test::source_path(rel)));
  return out;
}

}  // namespace

TEST(InputDrive, CorpusAndExampleDecks) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const auto& e : fs::directory_iterator(kestra_test::source_path("fuzz/corpus/reader"))) {
    if (!e.is_regular_file()) continue;
    SCOPED_TRACE(e.path().filename().string());
    EXPECT_TRUE(drive(kestra_test::read_file(e.path())));
    ++files;
  }
  EXPECT_GT(files, 0);
  for (const std::string& d : decks()) {
    EXPECT_TRUE(drive(d));
    EXPECT_EQ(read_status(d), ST_OK);
  }
}

// Every deck cut after any of its lines ends inside a record the options
// call for: the reading fails with ST_DECK_END.
TEST(InputDrive, DecksCutAfterEveryLine) {
  for (const std::string& d : decks()) {
    size_t pos = 0;
    int line = 0;
    while ((pos = d.find('\n', pos)) != std::string::npos && pos + 1 < d.size()) {
      ++pos;
      ++line;
      const std::string cut = d.substr(0, pos);
      SCOPED_TRACE(::testing::Message() << "cut after line " << line << ": " << d.substr(0, 40));
      EXPECT_EQ(read_status(cut), ST_DECK_END);
      EXPECT_TRUE(drive(cut));
    }
  }
}

// Mangled decks: each line in turn dropped, doubled, or given large or
// negative numbers. Whatever the reading makes of them, the guarantees hold.
TEST(InputDrive, MangledDecks) {
  const std::string DROP = "\x01";
  for (const std::string& d : decks()) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < d.size()) {
      size_t end = d.find('\n', start);
      if (end == std::string::npos) end = d.size();
      lines.push_back(d.substr(start, end - start));
      start = end + 1;
    }
    auto join = [&](size_t skip, const std::string& replacement) {
      std::string out;
      for (size_t i = 0; i < lines.size(); ++i) {
        if (i == skip && replacement == DROP) continue;
        out += (i == skip ? replacement : lines[i]) + "\n";
      }
      return out;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "line " << i + 1 << ": " << lines[i]);
      std::string big = lines[i], neg;
      for (char& c : big)
        if (c >= '1' && c <= '9') c = '9';
      for (size_t k = 0; k < lines[i].size(); ++k) {
        const char c = lines[i][k];
        if ((k == 0 || lines[i][k - 1] == ' ') && c >= '1' && c <= '9') neg.push_back('-');
        neg.push_back(c);
      }
      EXPECT_TRUE(drive(join(i, DROP)));
      EXPECT_TRUE(drive(join(i, "")));
      EXPECT_TRUE(drive(join(i, lines[i] + "\n" + lines[i])));
      EXPECT_TRUE(drive(join(i, big)));
      EXPECT_TRUE(drive(join(i, neg)));
      EXPECT_TRUE(drive(join(i, lines[i] + "1")));
    }
  }
}
