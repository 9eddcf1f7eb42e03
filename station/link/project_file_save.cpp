#include "station/link/project_file_save.h"

#include "station/data/project_file.h"
#include "station/link/config_image.h"

namespace zek {

void WriteProjectFile(StationState& st, const std::string& path, uint8_t model) {
  BuildConfigImage(st, kProjectConfigOffset, 0);
  SaveProjectFile(st, path, model);
}

}  // namespace zek
