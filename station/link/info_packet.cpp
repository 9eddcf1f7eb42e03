#include "station/link/info_packet.h"

#include <string>

#include "station/data/clock.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/data/text_file.h"

namespace zek {
namespace {

constexpr uint8_t kStepCompleted = 240;
constexpr uint8_t kChipGood = 6;
constexpr uint8_t kReadProtectNotSet = 30;
constexpr uint32_t kRunsPerLogSave = 500;
constexpr char kLogSavePrefix[] = "Qrmx_";

// What a progress report shows: its text, and where it puts the slot's
// gauge (position first, then maximum). A position of kFromFields takes
// position and maximum from the packet's fields.
constexpr int kFromFields = -1;
struct StepRow {
  uint8_t code;
  const char* text;
  int position;
  bool text_only_at_start;  // the text only while the progress field is 0
  bool turns_blue;
};

// code, text, gauge position, text only at progress 0, turns the gauge blue
constexpr StepRow kSteps[] = {
    {16, "Initial Programming Interface ....", 5, false, true},
    {32, "Chip Blank Checking....", 50, false, false},
    {48, "Do Chip Erasing....", 50, false, false},
    {64, "Do Main Flash Programming....", kFromFields, true, false},
    {80, "Do EEP Data Programming....", kFromFields, false, false},
    {112, "Do Main Flash Verification....", 50, false, false},
    {128, "Do EEP Data Verification....", 50, false, false},
    {160, "Do Chip Option Byte Programming....", 50, false, false},
};

const StepRow* FindStep(uint8_t code) {
  for (const StepRow& row : kSteps)
    if (row.code == code) return &row;
  return nullptr;
}

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The counters are signed 32-bit and never reset; they wrap rather than
// overflow.
void Increment(int32_t& counter) { counter = static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u); }

void ShowStep(StationState& st, const StepRow& row, const uint8_t* packet, uint8_t slot) {
  uint16_t progress = Word(packet + 3);
  if (!row.text_only_at_start || progress == 0) AddPortInfoLine(st, row.text, slot);
  GaugeView& gauge = Gauge(st, slot);
  if (row.position == kFromFields) {
    gauge.SetProgress(progress + 2);
    gauge.SetMax(Word(packet + 5));
  } else {
    gauge.SetProgress(row.position);
    gauge.SetMax(100);
  }
  if (row.turns_blue) gauge.SetColor(kGaugeBlue);
}

void CountCompletion(StationState& st, uint8_t chip_status, uint8_t slot) {
  std::string text = "Programming Completed : ";
  GaugeView& gauge = Gauge(st, slot);
  if (chip_status == kChipGood) {
    text += "Successed !";
    Increment(st.PortOKCount[slot]);
    Increment(st.TotalOKCount);
  } else {
    Increment(st.PortNGCount[slot]);
    Increment(st.TotalNGCount);
    gauge.SetColor(kGaugeRed);
    text += chip_status == kReadProtectNotSet ? "Error：芯片未设定读保护！"
                                              : Format("Failed : Error=0x%0.2x!", {chip_status});
  }
  AddPortInfoLine(st, text, slot);
  gauge.SetProgress(gauge.Max());
  AddPortInfoLine(st, Format("OK=%d, NG=%d.", {st.PortOKCount[slot], st.PortNGCount[slot]}), slot);
  AddTotalsLine(st);
}

}  // namespace

void HandleInfoPacket(StationState& st, uint8_t slot) {
  if (slot >= kPortSlots) return;
  const uint8_t* packet = st.PortPacketBuf[slot].data();
  uint8_t sum = 0;
  for (int i = 0; i < 8; ++i) sum = static_cast<uint8_t>(sum + packet[i]);
  if (sum != 0) return;
  uint8_t step = packet[1];
  if (step == kStepCompleted) {
    CountCompletion(st, packet[2], slot);
  } else if (const StepRow* row = FindStep(step)) {
    ShowStep(st, *row, packet, slot);
  }
}

void AddTotalsLine(StationState& st) {
  ++st.LogRunCount;
  st.SharedInfoMemo->AppendLine("> " + st.TimeSource->LongTime() +
                                Format(" Total OK Number is %d, NG is %d.", {st.TotalOKCount, st.TotalNGCount}));
  if (st.LogRunCount < kRunsPerLogSave) return;
  st.LogRunCount = 0;
  WriteTextLines(st.AppDir + kLogSavePrefix + FileNameStamp(*st.TimeSource) + ".log", st.SharedInfoMemo->Lines());
}

}  // namespace zek
