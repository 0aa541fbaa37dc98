// libFuzzer target of the deck reader: arbitrary bytes read as a deck must
// never crash, hang or read out of bounds, and every failure must leave a
// one-line message.
#include <cstdlib>

#include "reader_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!kestra_fuzz::READER_DRIVE(data, size)) std::abort();
  return 0;
}
