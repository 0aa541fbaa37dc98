// libFuzzer target of the input reading: arbitrary bytes read record by
// record, and read as a whole input data file and echoed, must never crash,
// hang or read or write out of bounds; every failure must leave its message.
#include <cstdlib>

#include "reader_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!kestra_fuzz::READER_DRIVE(data, size)) std::abort();
  if (!kestra_fuzz::INPUT_DRIVE(data, size)) std::abort();
  return 0;
}
