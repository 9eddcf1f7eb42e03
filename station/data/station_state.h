#pragma once
// The station's working state: per-port tables, memory images, chip
// descriptor, programmer settings, flags, counters and texts. The program
// owns one instance; tests make their own. Main thread only: the serial
// threads never touch it.

#include <array>
#include <cstdint>
#include <string>

#include "station/data/clock.h"
#include "station/data/heap_bytes.h"
#include "station/data/link_texts.h"
#include "station/data/port_scanner.h"
#include "station/data/random.h"
#include "station/data/views.h"

namespace zek {

class CommPort;

inline constexpr int kPortSlots = 10;       // slots 0-9, shown as C1-C10
inline constexpr int kPortTableSize = 11;   // entry 10 is never used
inline constexpr uint8_t kStateIdle = 80;

// Where a slot's latest download stands, for the command-line run's result.
inline constexpr uint8_t kDownloadNone = 0;       // none since the count was reset
inline constexpr uint8_t kDownloadPending = 1;    // running, or it failed
inline constexpr uint8_t kDownloadSucceeded = 2;  // counted in DownloadsDone

// A unit's largest reply (4106 bytes) escaped throughout is an 8214-byte
// frame; the receive buffer holds that plus a whole 2048-byte chunk.
inline constexpr size_t kRxBufSize = 16384;
// A frame is cut from the receive buffer, so it can never be longer than
// it; the decoded packet is never longer than its frame.
inline constexpr size_t kFrameBufSize = kRxBufSize;
inline constexpr size_t kPacketBufSize = kFrameBufSize;
// The largest packet sent is 4170 bytes; fully escaped with both delimiters
// and the five trailing 0xFF it takes 2 * 4170 + 7 = 8347 bytes.
inline constexpr size_t kTxBufSize = 8352;

inline constexpr size_t kMainBufferSize = 0x200000;
inline constexpr size_t kEepBufferSize = 0x8000;
inline constexpr size_t kOptionBufferSize = 0x400;
inline constexpr size_t kFirmwareImageSize = 0x10000;
inline constexpr size_t kChipConfigBlockSize = 2048;

template <typename T>
using PortTable = std::array<T, kPortTableSize>;

// Production options sent to the units; defaults are the start-up values.
struct ProgrammerSettings {
  uint8_t AutoDetectFlags = 7;
  uint8_t CtrlFlags = 0;
  uint8_t CtrlFlags2 = 0;
  uint8_t CtrlFlags3 = 0;
  uint8_t CtrlFlags4 = 0;
  uint8_t CtrlFlags5 = 0;
  uint8_t CtrlFlags6 = 0;
  uint8_t CtrlFlags7 = 0;  // only a loaded project sets it
  uint8_t CtrlFlags8 = 0;  // only a loaded project sets it
  uint8_t ChipInTime = 17;   // x 30 ms
  uint8_t ChipOutTime = 17;  // x 30 ms
  uint8_t PowerOnTime = 10;  // x 10 ms
  uint8_t SettingByte51 = 10;  // only a loaded project changes it
  uint8_t SclkSetting = 0;
  uint8_t OkNgDelay = 70;  // x 30 ms
  uint8_t SNFlags = 0;
  uint8_t SNLength = 0;
  int32_t NumberLimit = 0;
  uint16_t SNGain = 0;
  int32_t SNAddress = 0;
  int32_t SNValue = 0;
};

struct StationState {
  // Per-port tables.
  PortTable<CommPort*> PortComm{};
  PortTable<GaugeView*> PortGauge{};
  PortTable<uint8_t> PortState{};
  PortTable<uint16_t> PortTimeout{};
  PortTable<uint16_t> PortBlockIndex{};
  PortTable<uint16_t> PortBlockCount{};
  PortTable<uint16_t> PortRxLen{};
  // Length of the reply decoded into PortPacketBuf, its check included, so
  // handlers never take stale bytes of the buffer for reply data.
  PortTable<uint16_t> PortPacketLen{};
  PortTable<uint8_t> PortConnected{};
  PortTable<uint8_t> PortUpgrading{};
  PortTable<uint8_t> PortAutoSeq{};
  PortTable<uint8_t> PortBusy{};
  PortTable<std::string> PortComName{};
  PortTable<int32_t> PortOKCount{};
  PortTable<int32_t> PortNGCount{};
  PortTable<uint8_t> PortDownload{};  // kDownload...
  PortTable<HeapBytes<kFrameBufSize>> PortFrameBuf;
  PortTable<HeapBytes<kPacketBufSize>> PortPacketBuf;
  PortTable<HeapBytes<kTxBufSize>> PortTxBuf;
  std::array<HeapBytes<kRxBufSize>, kPortSlots> PortRxBuf;

  // Memory images: erased (0xFF) from the start; ResetBuffers erases the
  // first three again, each firmware load the firmware image.
  HeapBytes<kMainBufferSize> MainBuffer{0xFF};
  HeapBytes<kEepBufferSize> EepBuffer{0xFF};
  HeapBytes<kOptionBufferSize> OptionBuffer{0xFF};
  HeapBytes<kMainBufferSize> ReadMainBuffer{0xFF};
  HeapBytes<kEepBufferSize> ReadEepBuffer{0xFF};
  HeapBytes<kFirmwareImageSize> FirmwareImage{0xFF};
  std::array<char, 16> FirmwareVersion{};  // 8 used; all zero when none loaded
  HeapBytes<kChipConfigBlockSize> ChipConfigBlock;

  // Chip descriptor.
  uint8_t FamilyCode = 0x45;  // 'E'
  uint8_t ChipClassCode = 0;
  uint8_t ChipIndex = 0;
  uint16_t ChipFlashSizeKB = 0;
  uint16_t FlashSizeKB = 0;
  uint16_t PageSize = 0;
  uint16_t EepSize = 0;
  uint16_t InfoSize = 0;
  uint32_t FlashStartAddress = 0, FlashEndAddress = 0;
  uint32_t EepStartAddress = 0, EepEndAddress = 0;
  uint32_t OptionStartAddress = 0, OptionEndAddress = 0;
  uint32_t InfoStartAddress = 0, InfoEndAddress = 0;
  uint32_t ChipStartAddress = 0, ChipEndAddress = 0;
  std::string ChipName;

  // Image sums.
  uint16_t MainAcc16 = 0, MainCrc16 = 0;
  uint16_t EepCrc16 = 0, EepAcc16 = 0;
  uint16_t OptionCrc16 = 0, OptionAcc16 = 0;
  int32_t MainAcc32 = 0;
  int32_t FileAcc32 = 0;
  int32_t ParsedByteSum = 0;
  uint32_t File1Start = 0, File1End = 0, File2Start = 0, File2End = 0;

  ProgrammerSettings Settings;

  // Station-wide flags (0 or 1).
  uint8_t FirmwareOK = 0;
  uint8_t EepEdited = 0;
  uint8_t CmdLineProject = 0;
  uint8_t AutoExit = 0;
  uint8_t EepStepsEnabled = 0;
  uint8_t TimeGauge = 0;
  uint8_t File1Loaded = 0;
  uint8_t File2Loaded = 0;
  uint8_t FileLoaded = 0;
  uint8_t ChipSelected = 0;

  // Counters.
  uint8_t PortSlotCount = 0;
  uint8_t DevicesFound = 0;
  uint8_t DownloadsDone = 0;  // the slots at kDownloadSucceeded
  int32_t TotalOKCount = 0;
  int32_t TotalNGCount = 0;
  uint32_t LogRunCount = 0;
  int32_t OnLineCounter = 0;

  // Firmware header values.
  uint16_t FirmwareWordCount = 0;
  uint16_t FirmwareEndAddress = 0;
  uint16_t FirmwareStartAddress = 4096;

  // Texts.
  std::string AppDir;  // with its trailing separator
  std::string ObjectFileName;
  std::string CmdLineProjectPath;
  std::string ProjectModelName;  // programmer model named by the last project read
  uint8_t ProjectSpareByte = 0;  // kept only in project files

  RandomGenerator Random;

  // The window, as the logic sees it (non-owning).
  InfoMemoView* SharedInfoMemo = &NullInfoMemo();
  StationViews Views;
  const Clock* TimeSource = &SystemClock();
  // The edition's texts of the link layer (non-owning).
  const LinkTexts* LinkText = &kEnglishLinkTexts;
  // The machine's port list, as the builder of the station injects it;
  // unset, the scan finds no port.
  PortScanner PortScan;
};

// Binds the slots to their serial components and gauges and makes every
// slot 0-9 idle; entry 10 keeps its zero. `comms` and `gauges` list the
// window's components for slots 0-9 in order (LineComm1 .. LineCommA,
// Gauge1 .. GaugeA); a null entry leaves that slot unbound.
void InitPortTables(StationState& st, const std::array<CommPort*, kPortSlots>& comms,
                    const std::array<GaugeView*, kPortSlots>& gauges);

// The slot's gauge, or a do-nothing one when the slot is unbound.
GaugeView& Gauge(StationState& st, int port);

}  // namespace zek
