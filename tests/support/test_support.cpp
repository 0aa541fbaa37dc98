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

std::filesystem::path source_path(const std::string& rel) {
  return std::filesystem::path(KESTRA_SOURCE_DIR) / rel;
}

}  // namespace kestra_test
