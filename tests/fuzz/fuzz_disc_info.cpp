// INFO.PCD as hostile input.
#include "disc_info.h"
#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  std::string path = folder.Write("INFO.PCD", data, size);
  DiscInfo info{};
  PcdReadDiscInfo(path.c_str(), info);
  return 0;
}
