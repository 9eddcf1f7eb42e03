// Arbitrary bytes as "ConfigZEK.ini": the reader never overruns the slot
// tables and never leaves more slots than there are.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "station/data/connection_config.h"
#include "station/data/port_list_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zek::StationState st;
  static const std::string path = "/tmp/zek-fuzz-config-" + std::to_string(getpid()) + ".ini";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  zek::PortListModel combo;
  zek::ReadConnectionIni(st, path, combo);
  if (st.PortSlotCount > zek::kPortSlots) __builtin_trap();
  return 0;
}
