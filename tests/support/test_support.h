// Shared helpers of the test binaries: scratch directories and file texts.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace kestra_test {

// A fresh, empty directory under the build tree, named after the test.
std::filesystem::path scratch_dir(const std::string& name);

std::string read_file(const std::filesystem::path& p);
void write_file(const std::filesystem::path& p, const std::string& text);
std::vector<std::string> read_lines(const std::filesystem::path& p);

// Everything written so far to an open (temporary) file; "" for no file.
// Leaves the position at the end, so writing may go on after it.
std::string file_text(std::FILE* f);

// The lines of a text, without their newlines (a last line may lack one).
std::vector<std::string> split_lines(const std::string& text);

// Names.dat in dir for a whole run: the deck, then every output file of the
// run as r.out, r.sum ... in the same directory.
void write_names(const std::filesystem::path& dir, const std::string& deck_name = "deck.dat");

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
