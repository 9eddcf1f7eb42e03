#include "tests/e2e/station_rig.h"

#include <signal.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <stdexcept>

#include "serial/unit_port_scan.h"
#include "station/data/byte_sums.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/command_builders.h"
#include "station/link/operation_states.h"
#include "station/link/port_events.h"
#include "station/link/progress.h"
#include "station/link/unit_discovery.h"

namespace zek::testing {
namespace {

constexpr int kTickMs = 10;

}  // namespace

SimUnits::SimUnits(const std::vector<std::string>& args) : dir_(sim::testing::MakeTempDir()) {
  if (dir_.empty()) throw std::runtime_error("no temporary folder for the unit links");
  std::vector<std::string> all = {"--dir", dir_};
  all.insert(all.end(), args.begin(), args.end());
  if (!process_.Start(all)) {
    process_.Stop(SIGTERM);
    stopped_ = true;
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);  // no destructor runs after this
    throw std::runtime_error("dorvik410-sim did not come up: " + process_.Output());
  }
  setenv("ZEK_COM_DIR", dir_.c_str(), 1);
}

SimUnits::~SimUnits() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

int SimUnits::Stop() {
  if (stopped_) return -1;
  stopped_ = true;
  return process_.Stop(SIGTERM);
}

bool SimUnits::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
  return !stopped_ && process_.WaitForOutput(text, static_cast<int>(limit.count()));
}

void LoadTestImage(StationState& st, uint16_t kb, uint32_t seed) {
  const uint32_t bytes = uint32_t{kb} * 1024;
  uint32_t x = seed * 2654435761u + 7;
  for (uint32_t i = 0; i < bytes; ++i) {
    x = x * 1103515245u + 12345u;
    uint8_t b = static_cast<uint8_t>(x >> 16);
    if (((x >> 8) & 0x1F) == 0) b = (x & 1) ? 0xC0 : 0xDB;
    st.MainBuffer[i] = b;
  }
  st.FlashSizeKB = kb;
  st.ChipFlashSizeKB = kb;
  st.ChipStartAddress = 0;
  st.MainAcc16 = static_cast<uint16_t>(SumBytes(st.MainBuffer.span(), 0, bytes - 1));
  st.MainCrc16 = Check16(st.MainBuffer.span(), 0, bytes - 1);
}

StationRig::StationRig() {
  std::array<CommPort*, kPortSlots> ports{};
  std::array<GaugeView*, kPortSlots> gauges{};
  for (int slot = 0; slot < kPortSlots; ++slot) {
    auto comm = std::make_unique<TComm>();
    SetStationProperties(*comm);
    StationState& st = fs.st;
    comm->OnReceiveData = [this, &st, slot](TComm*, const uint8_t* buffer, uint16_t length) {
      const bool was_busy = st.PortBusy[slot] != 0;
      LineCommReceiveData(st, slot, buffer, length);
      NoteEnd(slot, was_busy);
      CheckDone();
    };
    comm->OnRequestHangup = [this, &st, slot](TComm*) {
      ++hangups[slot];
      LineCommRequestHangup(st, slot);
      CheckDone();
    };
    comm->OnReceiveError = [&st, slot](TComm*, uint32_t mask) { LineCommReceiveError(st, slot, mask); };
    ports[slot] = comm.get();
    gauges[slot] = &fs.gauges[slot];
    comms[slot] = std::move(comm);
  }
  InitPortTables(fs.st, ports, gauges);
  fs.st.Views.ComboBoxCOM = &port_list;
  fs.st.PortScan = ListUnitPorts;  // the serial layer's scan, as the window injects it
  fs.st.PortSlotCount = kPortSlots;
}

StationRig::~StationRig() {
  for (auto& comm : comms) comm->ClosePort();
  QCoreApplication::sendPostedEvents();
}

void StationRig::ListPorts(const std::vector<std::string>& names) {
  port_list.ClearItems();
  for (const std::string& name : names) port_list.AddItem(name);
}

bool StationRig::FindUnits(int expected, std::chrono::milliseconds limit) {
  BitBtnFindCOMClick(fs.st);
  return RunUntil([&] { return fs.st.DevicesFound >= expected; }, limit);
}

std::vector<int> StationRig::StartOnConnected(StepStarter starter) {
  std::vector<int> started;
  StationState& st = fs.st;
  for (int slot = 0; slot < st.PortSlotCount; ++slot) {
    if (st.PortConnected[slot] == 0 || st.PortBusy[slot] != 0) continue;
    st.PortRxLen[slot] = 0;
    st.PortAutoSeq[slot] = 0;
    starter(st, slot);
    started.push_back(slot);
  }
  return started;
}

void StationRig::StartReadMain(int slot) {
  StationState& st = fs.st;
  AddInfoLine(st, Format("Chip %d : Read chip all memory......", {slot + 1}));
  st.PortRxLen[slot] = 0;
  st.TimeGauge = 0;
  st.PortAutoSeq[slot] = 0;
  st.PortState[slot] = kStateReadOut;
  StartProgress(st, st.FlashSizeKB, true, slot);
  SendSettingsOnly(st, 0x9B, st.PortBlockIndex[slot], slot);
}

bool StationRig::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  if (done()) return true;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  QEventLoop loop;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(kTickMs);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    Timer1Tick();
    if (on_tick) on_tick();
    if (done() || std::chrono::steady_clock::now() >= deadline) loop.quit();
  });
  tick.start();
  running_ = &loop;
  done_ = &done;
  loop.exec();
  running_ = nullptr;
  done_ = nullptr;
  return done();
}

// Events end the wait at once, so a test never waits out a tick for them.
void StationRig::CheckDone() {
  if (running_ != nullptr && (*done_)()) running_->quit();
}

bool StationRig::SlotsIdle(const std::vector<int>& slot_list) const {
  for (int slot : slot_list)
    if (fs.st.PortBusy[slot] != 0) return false;
  return true;
}

std::vector<std::string> StationRig::PortMessages(int slot) const {
  // "> HH:MM:SS Cn: message"
  const std::string tag = " C" + std::to_string(slot + 1) + ": ";
  std::vector<std::string> messages;
  for (const std::string& line : fs.memo.lines) {
    if (line.size() < 11 || line.compare(0, 2, "> ") != 0 || line.compare(10, tag.size(), tag) != 0) continue;
    messages.push_back(line.substr(10 + tag.size()));
  }
  return messages;
}

std::string StationRig::LastMessage(int slot) const {
  std::vector<std::string> messages = PortMessages(slot);
  return messages.empty() ? std::string() : messages.back();
}

// What the window's 10 ms timer does for busy slot_list.
void StationRig::Timer1Tick() {
  StationState& st = fs.st;
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (st.PortBusy[slot] == 0) continue;
    st.PortTimeout[slot] = static_cast<uint16_t>(st.PortTimeout[slot] - 1);
    if (st.PortTimeout[slot] != 0) continue;
    AddPortInfoLine(st, "Operation Time Out!", slot);
    EndProgress(st, true, slot);
    ended_at[slot] = std::chrono::steady_clock::now();
  }
}

void StationRig::NoteEnd(int slot, bool was_busy) {
  if (was_busy && fs.st.PortBusy[slot] == 0) ended_at[slot] = std::chrono::steady_clock::now();
}

}  // namespace zek::testing
