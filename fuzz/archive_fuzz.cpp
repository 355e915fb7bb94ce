#include <cstddef>
#include <cstdint>

#include "fuzz/archive_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::RunArchiveFuzzInput({data, size});
  return 0;
}
