#include "filelib/output_file.h"
#include "filelib/writers.h"

namespace rhb {

int WriteBinaryFile(const char* path, const uint8_t* buf, uint32_t start, uint32_t end) {
  OutputFile out;
  if (!out.Create(path)) return out.Close();
  if (end >= start) out.Write(buf + start, static_cast<size_t>(end) - start + 1);
  return out.Close();
}

}  // namespace rhb
