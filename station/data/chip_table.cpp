#include "station/data/chip_table.h"

#include "station/data/chip_memory_map.h"

namespace zek {
namespace {

// Part names of each series, in list order; one part per row.
constexpr std::string_view kSeriesBF710[] = {
    "BF7106AM28-TBBX",
    "BF7106AM48-LBTX",
    "BF7106AM64-XXX",
    "BF7006AM64-LBTX",
    "BF7006AM28-TBBX",
    "BF7006AM48-LBBX",
    "BF7112A-JCST",
};
constexpr std::string_view kSeriesBF7612[] = {
    "BF7612BM20-SJBX",
    "BF7612BM20-SJLX",
    "BF7612BM20-TJLX",
    "BF7612BM24-SJBX",
    "BF7612BM28-SJBX",
    "BF7612BM28-SJLX",
    "BF7612BM28-TJLX",
    "BF7612BM32-LJTX",
    "BF7612BM44-LJTX",
};
constexpr std::string_view kSeriesBF7615[] = {
    "BF7613BM20",
    "BF7613BM24",
    "BF7613BM28",
    "BF7613BM64",
    "BF7614BM20",
    "BF7614BM24",
    "BF7614BM28",
    "BF7614BM64",
    "BF7615BM20",
    "BF7615BM24",
    "BF7615BM28",
    "BF7615BM64",
};
constexpr std::string_view kSeriesBS9x00[] = {
    "BS9000AM20",
    "BS9000AM28",
    "BS9000AM48",
    "BS9000AM64",
    "BS9100AM20",
    "BS9100AM28",
    "BS9400AM20",
    "BS9400AM28",
};
constexpr std::string_view kSeriesBS32G0[] = {
    "BS32G030CBT6",
    "BS32G030KBT6",
    "BS32G030KBU6",
};
constexpr std::string_view kSeriesBS32F[] = {
    "BS32F103CBT6",
    "BS32F103RBT6",
    "BS32F030CBT6",
    "BS32F030KBT6",
    "BS32F030KBU6",
};

bool Starts(std::string_view name, std::string_view prefix) { return name.starts_with(prefix); }

void SetSizes(PendingChip& p, uint16_t flash_kb, uint16_t eep, uint16_t info, uint16_t page) {
  p.FlashKB = flash_kb;
  p.EepSize = eep;
  p.InfoSize = info;
  p.PageSize = page;
}

}  // namespace

// Indexed by series: 0 BF710x, 1 BF7612, 2 BF7615, 3 BS9x00, 4 BS32G0, 5 BS32F.
const std::array<std::span<const std::string_view>, kChipSeriesCount> ChipSeriesParts = {
    kSeriesBF710, kSeriesBF7612, kSeriesBF7615, kSeriesBS9x00, kSeriesBS32G0, kSeriesBS32F};
const std::array<uint8_t, kChipSeriesCount> ChipSeriesLastIndex = {6, 8, 11, 7, 2, 4};
const std::array<uint8_t, kChipSeriesCount> ChipSeriesClass = {0x00, 0x80, 0x82, 0x90, 0x10, 0x12};
const std::array<std::string_view, kChipSeriesCount> ChipSeriesTexts = {
    "BF710xxx Chips", "BF7612xx Chips", "BF7615xx Chips", "BF9x00xx Chips", "BS32G0xx Chips", "BS32Fxxx Chips"};

void SetSizesBS9(std::string_view name, PendingChip& pending) {
  uint16_t flash_kb = 256;
  if (Starts(name, "BS9000") || Starts(name, "BS9100") || Starts(name, "BS9400")) {
    flash_kb = 32;
  } else if (Starts(name, "BS9006")) {
    flash_kb = 96;
  } else if (Starts(name, "BS9007")) {
    flash_kb = 128;
  }
  SetSizes(pending, flash_kb, 0, 512, 64);
}

void SetSizesBF7(std::string_view name, PendingChip& pending) {
  if (Starts(name, "BF7106") || Starts(name, "BF7006")) {
    SetSizes(pending, 96, 2048, 256, 256);
  } else if (Starts(name, "BF7112")) {
    SetSizes(pending, 32, 0, 512, 64);
    pending.ClassCode = kBF7112ClassCode;
  } else if (Starts(name, "BF7613BM")) {
    SetSizes(pending, 32, 1024, 0, 64);
  } else if (Starts(name, "BF7614BM")) {
    SetSizes(pending, 48, 1024, 0, 64);
  } else if (Starts(name, "BF7615BM")) {
    SetSizes(pending, 64, 1024, 0, 64);
  } else {
    SetSizes(pending, 16, 1024, 0, 64);
  }
}

void SetSizesBS32(std::string_view name, PendingChip& pending) {
  // The tenth character is the flash-size letter of these part numbers.
  if (name.size() < 10) return;
  switch (name[9]) {
    case 'B': SetSizes(pending, 128, 0, 512, 512); break;
    case 'C': SetSizes(pending, 256, 0, 512, 512); break;
    case '8': SetSizes(pending, 64, 0, 512, 512); break;
    default: break;
  }
}

void ApplySizeRule(std::string_view name, PendingChip& pending) {
  const std::string_view head = name.substr(0, 5);
  if (head == "BS900" || head == "BS940" || head == "BS910") {
    SetSizesBS9(name, pending);
  } else if (head == "BS32G" || head == "BS32F") {
    SetSizesBS32(name, pending);
  } else {
    SetSizesBF7(name, pending);
  }
}

void CommitChipSelection(StationState& st, const PendingChip& pending, std::string_view name) {
  ResetBuffers(st);
  st.FileLoaded = 0;
  st.ChipSelected = 1;
  st.FamilyCode = 0x45;  // 'E'
  st.ChipClassCode = pending.ClassCode;
  st.ChipIndex = pending.PartIndex;
  st.ChipFlashSizeKB = pending.FlashKB;
  st.InfoSize = pending.InfoSize;
  st.EepSize = pending.EepSize;
  st.PageSize = pending.PageSize;
  st.EepStartAddress = pending.EepStart;
  st.EepEndAddress = pending.EepEnd;
  if (Starts(name, "BF7112")) {
    st.ChipClassCode = kBF7112ClassCode;
    st.ChipIndex = 0;
  }
  st.ChipName = std::string(name);
}

}  // namespace zek
