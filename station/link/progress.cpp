#include "station/link/progress.h"

#include <array>
#include <utility>

#include "station/data/format.h"
#include "station/data/info_lines.h"

namespace zek {
namespace {

constexpr std::array<std::pair<uint8_t, const char*>, 18> kResultMessages{{
    {0, "Operation Success!"},
    {6, "Operation Success!"},
    {7, "No response!"},
    {16, "Chip read protected!"},
    {19, "Chip read protected"},
    {25, "Command CRC8 Error"},
    {31, "Chip has been locked!"},
    {32, "Data error!"},
    {35, "Packet checksum error!"},
    {37, "Unknow command!"},
    {42, "Data packet error"},
    {44, "Flash Memory Error!"},
    {49, "Data verify error!"},
    {52, "Chip checksum error!"},
    {54, "Chip type error!"},
    {56, "Manufacturing Code error!"},
    {64, "Execute time out!"},
    {96, "Interface Error!"},
}};

}  // namespace

void StartProgress(StationState& st, uint16_t ticks, bool by_blocks, int port) {
  st.PortBlockIndex[port] = 0;
  st.PortBlockCount[port] = st.FlashSizeKB;
  st.PortBusy[port] = 1;
  GaugeView& gauge = Gauge(st, port);
  if (by_blocks) {
    st.PortTimeout[port] = 500;
    gauge.SetMax(st.FlashSizeKB);
    gauge.SetProgress(1);
  } else {
    st.PortTimeout[port] = ticks;
    gauge.SetMax(ticks);
    gauge.SetProgress(ticks / 10);
  }
  gauge.SetColor(kGaugeBlue);
}

void EndProgress(StationState& st, bool failed, int port) {
  st.PortBusy[port] = 0;
  st.TimeGauge = 0;
  st.Views.ViewPageCtrl->ShowFirstTab();
  GaugeView& gauge = Gauge(st, port);
  gauge.SetColor(failed ? kGaugeRed : kGaugeBlue);
  gauge.SetProgress(gauge.Max());
  st.PortState[port] = kStateIdle;
}

namespace {

std::string ErrorCodeText(uint8_t code) { return Format("Operation error! Error Code = 0x%0.2x", {code}); }

void LogWhileBusy(StationState& st, const std::string& message, int port) {
  if (st.PortState[port] != kStateIdle) AddPortInfoLine(st, message, port);
}

}  // namespace

std::string ResultMessage(uint8_t code) {
  for (const auto& [known, message] : kResultMessages)
    if (known == code) return message;
  return ErrorCodeText(code);
}

void ReportResult(StationState& st, uint8_t code, int port) {
  if (Succeeded(code)) st.Views.Beeper->Beep();
  LogWhileBusy(st, ResultMessage(code), port);
}

void ReportFailure(StationState& st, uint8_t code, int port) {
  if (!Succeeded(code)) return ReportResult(st, code, port);
  LogWhileBusy(st, ErrorCodeText(code), port);
}

}  // namespace zek
