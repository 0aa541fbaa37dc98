// Shared helpers of the test binaries: scratch directories and file texts.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestra_test {

// A fresh, empty directory under the build tree, named after the test.
std::filesystem::path scratch_dir(const std::string& name);

std::string read_file(const std::filesystem::path& p);
void write_file(const std::filesystem::path& p, const std::string& text);
std::vector<std::string> read_lines(const std::filesystem::path& p);

// Runs fn with the working directory set to dir, then restores it.
template <class F>
auto in_directory(const std::filesystem::path& dir, F&& fn) {
  struct restore {
    std::filesystem::path old;
    ~restore() { std::filesystem::current_path(old); }
  } r{std::filesystem::current_path()};
  std::filesystem::current_path(dir);
  return fn();
}

// Path of a file of the source tree (examples/, tests/golden/ ...).
std::filesystem::path source_path(const std::string& rel);

}  // namespace kestra_test
