#include "support/test_support.h"

#include <fstream>
#include <sstream>

#ifndef KESTRA_BINARY_DIR
#define KESTRA_BINARY_DIR "."
#endif
#ifndef KESTRA_SOURCE_DIR
#define KESTRA_SOURCE_DIR "."
#endif

namespace kestra_test {

std::filesystem::path scratch_dir(const std::string& name) {
  std::filesystem::path p = std::filesystem::path(KESTRA_BINARY_DIR) / "test_scratch" / name;
  std::error_code ec;
  std::filesystem::remove_all(p, ec);
  std::filesystem::create_directories(p);
  return std::filesystem::absolute(p);
}

std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

std::vector<std::string> read_lines(const std::filesystem::path& p) {
  std::vector<std::string> lines;
  std::ifstream in(p, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string file_text(std::FILE* f) {
  std::string out;
  if (!f) return out;
  std::fflush(f);
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fseek(f, 0, SEEK_END);
  return out;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void write_names(const std::filesystem::path& dir, const std::string& deck_name) {
  std::string t = "TESTVER\nunused\nunused\n0\n" + deck_name + "\n";
  for (const char* n : {"r.out", "r.sum", "r.plt", "r.run", "r.cas", "r.tab", "r.prg", "r.atc", "r.fl1", "r.fl2",
                        "r.ext", "r.stp", "r.pst", "r.fst", "r.fwn", "r.itr", "r.tzc", "r.crv", "r.nod", "r.ssc"})
    t += std::string(n) + "\n";
  write_file(dir / "Names.dat", t);
}

std::filesystem::path source_path(const std::string& rel) {
  return std::filesystem::path(KESTRA_SOURCE_DIR) / rel;
}

}  // namespace kestra_test
