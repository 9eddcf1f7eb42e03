// Reply handlers of the two verify steps.
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/data/byte_order.h"
#include "station/link/operation_steps.h"
#include "station/link/packet_framing.h"
#include "station/link/progress.h"

namespace zek {
namespace {

constexpr uint8_t kChipChecksumError = 52;
constexpr size_t kVerifyReportBytes = 16;  // status .. CRC at 14-15

// The counter is signed 32-bit and never reset; it wraps rather than
// overflows.
void CountOnLine(StationState& st) {
  st.OnLineCounter = static_cast<int32_t>(static_cast<uint32_t>(st.OnLineCounter) + 1u);
  st.Views.StatusBar->SetPanelText(3, Format("OnLine Counter: %d", {st.OnLineCounter}));
}

}  // namespace

void OnVerifyMainReply(StationState& st, uint8_t status, int port) {
  // A short reply carries its status in place of the report: even 6 fails.
  if (status != 0) return FailStep(st, status, port);
  const uint8_t* data = ReplyData(st, port, 1);
  if (data == nullptr) return FailStep(st, kResultDataError, port);
  const uint8_t unit_status = data[0];
  GaugeView& gauge = Gauge(st, port);
  gauge.SetProgress(gauge.Max());
  const bool reports_sums = unit_status == 6 || unit_status == kChipChecksumError;
  if (reports_sums && ReplyData(st, port, kVerifyReportBytes) == nullptr)
    return FailStep(st, kResultDataError, port);
  if (unit_status == 6) {
    AddPortInfoLine(st, Format("Main Data verify success! ACC=0x%0.8x,CRC=0x%0.4x.", {Get32(data + 10), Get16(data + 14)}),
                    port);
    if (st.PortAutoSeq[port]) CountOnLine(st);
    return EndProgress(st, false, port);
  }
  if (unit_status == kChipChecksumError) {
    gauge.SetColor(kGaugeRed);
    AddPortInfoLine(st, Format("Current Buffer CheckSum is : ACC=0x%0.4x,CRC=0x%0.4x.", {st.MainAcc16, st.MainCrc16}),
                    port);
    AddPortInfoLine(st, Format("Read out Chip CheckSum is  : ACC=0x%0.4x,CRC=0x%0.4x.", {Get16(data + 10), Get16(data + 14)}),
                    port);
  }
  FailStep(st, unit_status, port);
}

void OnVerifyEEPReply(StationState& st, uint8_t status, int port) {
  const uint8_t* data = ReplyData(st, port, 1);
  if (status == kResultChecksumError || data == nullptr) return FailStep(st, status, port);
  GaugeView& gauge = Gauge(st, port);
  gauge.SetProgress(gauge.Max());
  if (!Succeeded(data[0])) return FailStep(st, data[0], port);
  AddPortInfoLine(st, "EEP Data verify success!", port);
  EndProgress(st, false, port);
}

}  // namespace zek
