#include "station/data/programmer_models.h"

#include <algorithm>
#include <iterator>

namespace zek {
namespace {

struct ModelRow {
  uint8_t code;
  const char* name;
};

// Code, name. Some models answered to more than one code over their
// firmware releases, so a name may appear on several rows.
constexpr ModelRow kModels[] = {
    {3, "Dorvik100"},      {4, "Dorvik100A"},     {5, "Dorvik110"},      {6, "Dorvik110"},
    {8, "Dorvik120"},      {10, "Dorvik200"},     {11, "Dorvik200-S"},   {12, "Dorvik210"},
    {16, "Dorvik220"},     {17, "Dorvik220-G4"},  {20, "Dorvik300"},     {21, "Dorvik300"},
    {22, "Dorvik300"},     {24, "Dorvik310"},     {28, "Dorvik320-ISP"}, {32, "Dorvik400"},
    {33, "Dorvik400-G2"},  {36, "Dorvik401"},     {40, "Dorvik402-ZEK"}, {48, "Dorvik403-ZEK"},
    {52, "Dorvik404-ZEK"}, {56, "Dorvik405-ZEK"}, {60, "Dorvik406-ZEK"}, {64, "Dorvik407-ZEK"},
    {68, "Dorvik408-ZEK"}, {72, "Dorvik409-ZEK"}, {76, "Dorvik410-G8"},  {79, "Dorvik410-ZEK"},
    {80, "Dorvik410-ZEK"},
};

constexpr const char* kUnknownModel = "Dorvik-Unknown";

}  // namespace

std::string GetProgrammerModelName(uint8_t code) {
  auto row = std::find_if(std::begin(kModels), std::end(kModels), [code](const ModelRow& r) { return r.code == code; });
  return row == std::end(kModels) ? kUnknownModel : row->name;
}

}  // namespace zek
