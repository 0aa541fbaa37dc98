// kestra: the command-line front end of the engine.
//
//   kestra run DECK [--out DIR]   analyse a deck; the run files go to DIR
//   kestra ikestra [OPTION]       call IKESTRA(OPTION) in the current directory
//   kestra --help | --version
//
// It uses only the public header: it writes Names.dat, calls IKESTRA and
// follows the progress file from a second thread while the engine runs.
// Ctrl-C asks the engine to stop through the stop-request file.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "kestra.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* VERSION = "0.1.0";

constexpr const char* USAGE =
    "usage: kestra run DECK [--out DIR]   analyse the input deck DECK\n"
    "       kestra ikestra [OPTION]       call IKESTRA(OPTION) in the current directory (default 20)\n"
    "       kestra --help                 show this text\n"
    "       kestra --version              show the version\n"
    "\n"
    "kestra run writes Names.dat and every file of the run into DIR (default: a\n"
    "directory beside the deck named after it, DECK-without-extension.kestra), shows\n"
    "the progress, prints the outcome and exits with the run's status code.\n"
    "Ctrl-C asks the engine to stop (status 4).\n";

// The files of a run, by Names.dat record (5..25), as extensions of the
// deck's name or fixed scratch names.
struct RUN_FILE {
  int record;
  const char* suffix;  // appended to the deck's base name
  const char* what;
};
constexpr RUN_FILE RUN_FILES[] = {
    {6, ".out", "report"},
    {7, ".sum", "summary"},
    {8, ".plt", "plot file"},
    {9, ".run", "runtime log"},
    {10, ".cas", "case results"},
    {11, ".tab", "results table"},
    {12, ".prg", "progress"},
    {13, ".atc", "axial-torsion curves"},
    {14, ".fl1", "flexibility scratch"},
    {15, ".fl2", "displacement scratch"},
    {16, ".ext", "extreme-values scratch"},
    {17, ".stp", "stop request"},
    {18, ".pst", "pile stiffness"},
    {19, ".fst", "foundation stiffness"},
    {20, ".fwn", "failure-warnings scratch"},
    {21, ".itr", "cap iteration trace"},
    {22, ".tzc", "t-z curves"},
    {23, ".crv", "curve data"},
    {24, ".nod", "pile node results"},
    {25, ".ssc", "summary scratch"},
};

std::atomic<bool> g_interrupted{false};
void on_sigint(int) { g_interrupted = true; }

std::string read_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  std::size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}

// The closing message of the runtime file: the lines after its last line of
// five blanks.
std::vector<std::string> closing_lines(const fs::path& runtime) {
  std::vector<std::string> lines, out;
  std::istringstream in(read_text(runtime));
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  for (std::size_t i = lines.size(); i-- > 0;) {
    if (lines[i] == "     ") {
      for (std::size_t j = i + 1; j < lines.size(); ++j) out.push_back(trim(lines[j]));
      break;
    }
  }
  return out;
}

int cmd_run(const std::string& deck_arg, const std::string& out_arg) {
  std::error_code ec;
  const fs::path deck = fs::absolute(deck_arg, ec);
  if (ec || !fs::is_regular_file(deck)) {
    std::cerr << "kestra: cannot read the input deck \"" << deck_arg << "\"\n";
    return 102;
  }
  const std::string stem = deck.stem().string();
  const fs::path dir = out_arg.empty() ? deck.parent_path() / (stem + ".kestra") : fs::absolute(out_arg);
  fs::create_directories(dir, ec);
  if (ec) {
    std::cerr << "kestra: cannot create the output directory \"" << dir.string() << "\": " << ec.message() << "\n";
    return 103;
  }
  {
    std::ofstream names(dir / "Names.dat", std::ios::binary | std::ios::trunc);
    if (!names) {
      std::cerr << "kestra: cannot write " << (dir / "Names.dat").string() << "\n";
      return 103;
    }
    names << VERSION << "\n" << "kestra command line\n" << dir.string() << "\n" << 0 << "\n";
    names << deck.string() << "\n";
    for (const RUN_FILE& f : RUN_FILES) names << stem << f.suffix << "\n";
  }
  const fs::path progress = dir / (stem + ".prg");
  const fs::path stop = dir / (stem + ".stp");
  fs::remove(stop, ec);

  const bool tty = ::isatty(STDOUT_FILENO);
  std::atomic<bool> done{false};
  std::signal(SIGINT, on_sigint);
  std::thread monitor([&] {
    std::string last;
    bool stop_written = false;
    while (!done) {
      if (g_interrupted && !stop_written) {
        std::ofstream(stop) << 1 << "\n";
        stop_written = true;
      }
      // A message may run over two lines (case, then step and iteration):
      // shown as one.
      std::string msg = trim(read_text(progress));
      for (std::size_t nl; (nl = msg.find('\n')) != std::string::npos;)
        msg = trim(msg.substr(0, nl)) + " " + trim(msg.substr(nl + 1));
      if (!msg.empty() && msg != last) {
        last = msg;
        if (tty) {
          std::string shown = msg.substr(0, 78);
          std::printf("\r%-78s", shown.c_str());
        } else {
          std::printf("%s\n", msg.c_str());
        }
        std::fflush(stdout);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });

  const fs::path old = fs::current_path();
  fs::current_path(dir);
  const int status = IKESTRA(20);
  fs::current_path(old);
  done = true;
  monitor.join();
  if (tty) std::printf("\r%-78s\r", "");

  const std::vector<std::string> closing = closing_lines(dir / (stem + ".run"));
  std::string outcome;
  for (const std::string& l : closing) outcome += (outcome.empty() ? "" : " ") + l;
  if (outcome.empty()) outcome = status == 4 ? "*** ANALYSIS STOPPED BY USER ***" : "status " + std::to_string(status);
  std::printf("%s (status %d)\n", outcome.c_str(), status);
  std::printf("report:  %s\n", (dir / (stem + ".out")).string().c_str());
  std::printf("summary: %s\n", (dir / (stem + ".sum")).string().c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << USAGE;
    return 2;
  }
  const std::string& cmd = args[0];
  if (cmd == "--help" || cmd == "-h") {
    std::cout << USAGE;
    return 0;
  }
  if (cmd == "--version") {
    std::cout << "kestra " << VERSION << "\n";
    return 0;
  }
  if (cmd == "run") {
    std::string deck, out;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--out" && i + 1 < args.size()) {
        out = args[++i];
      } else if (deck.empty() && !args[i].empty() && args[i][0] != '-') {
        deck = args[i];
      } else {
        std::cerr << "kestra: unexpected argument \"" << args[i] << "\"\n" << USAGE;
        return 2;
      }
    }
    if (deck.empty()) {
      std::cerr << USAGE;
      return 2;
    }
    return cmd_run(deck, out);
  }
  if (cmd == "ikestra") {
    if (args.size() > 2) {
      std::cerr << USAGE;
      return 2;
    }
    long option = 20;
    if (args.size() == 2) {
      char* end = nullptr;
      option = std::strtol(args[1].c_str(), &end, 10);
      if (!end || *end != 0 || args[1].empty()) {
        std::cerr << "kestra: OPTION must be an integer\n" << USAGE;
        return 2;
      }
    }
    return IKESTRA(static_cast<int32_t>(option));
  }
  std::cerr << "kestra: unknown command \"" << cmd << "\"\n" << USAGE;
  return 2;
}
