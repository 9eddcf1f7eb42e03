// The library's C interface: each export is a thin call into the routines,
// and none lets a C++ exception out (a failure inside becomes the I/O error
// result, or is reported through the message box).

#include "filelib/DorvikRHB.h"

#include <cerrno>
#include <utility>

#include "filelib/binary_loaders.h"
#include "filelib/checksums.h"
#include "filelib/fill.h"
#include "filelib/intel_hex_loaders.h"
#include "filelib/io_error.h"
#include "filelib/result_codes.h"
#include "filelib/srecord_loaders.h"
#include "filelib/text_loaders.h"
#include "filelib/writers.h"

using namespace rhb;

namespace {

template <class Fn>
FrameResult WithTextFile(const char* name, Fn&& load) {
  FileSource source;
  if (name == nullptr) return OpenFailure(ENOENT);
  if (!source.Open(name)) return OpenFailure(source.Errno());
  return load(source);
}

template <class Fn>
void Interactive(Fn&& load) {
  try {
    ConsoleMessageBox box;
    ReportAfterLoad(load(box), box);
  } catch (...) {
  }
}

template <class Fn>
int32_t Silent(Fn&& load) {
  try {
    ConsoleMessageBox box;
    return SilentResult(load(box));
  } catch (...) {
    return kIoFailed;
  }
}

void InteractiveHex(const char* name, const HexLoader& loader, const LoadTarget& t) {
  Interactive([&](MessageBox& box) {
    return WithTextFile(name, [&](ByteSource& s) { return LoadHex(s, loader, t, box); });
  });
}

int32_t SilentHex(const char* name, const HexLoader& loader, const LoadTarget& t) {
  return Silent([&](MessageBox& box) {
    return WithTextFile(name, [&](ByteSource& s) { return LoadHex(s, loader, t, box); });
  });
}

void InteractiveS(const char* name, const SLoader& loader, const LoadTarget& t) {
  Interactive([&](MessageBox& box) {
    return WithTextFile(name, [&](ByteSource& s) { return LoadSRecords(s, loader, t, box); });
  });
}

int32_t SilentS(const char* name, const SLoader& loader, const LoadTarget& t) {
  return Silent([&](MessageBox& box) {
    return WithTextFile(name, [&](ByteSource& s) { return LoadSRecords(s, loader, t, box); });
  });
}

template <class Fn>
void TextFormat(const char* name, Fn&& load) {
  Interactive([&](MessageBox&) { return WithTextFile(name, std::forward<Fn>(load)); });
}

// A binary file that cannot be opened reads as size 0xFFFFFFFF whose first
// read fails.
template <class Fn>
auto WithBinaryFile(const char* name, Fn&& load) {
  FileSource source;
  bool opened = name != nullptr && source.Open(name);
  return load(source, opened ? FileSize32(source.Fd()) : kUnopenedSize);
}

template <class Fn>
void Save(const char* name, Fn&& write) {
  try {
    int error = name == nullptr ? ENOENT : write();
    if (error != 0) ConsoleMessageBox().Error(IoErrorText(error));
  } catch (...) {
  }
}

}  // namespace

extern "C" {

void InitialDataBuffer(uint8_t* buf, uint32_t last_row, uint8_t fill) { FillRows(buf, last_row, fill); }

void InitialDataBuffer16M(uint8_t* buf, uint32_t last_row, uint8_t fill) { FillRows(buf, last_row, fill); }

void DoOpenFile_HEX_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  InteractiveHex(name, kDoOpenFile_HEX_Routine, {buf, 0, start, end, nullptr});
}

int32_t ExeOpenFile_HEX_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  return SilentHex(name, kExeOpenFile_HEX_RoutAndRT, {buf, 0, start, end, nullptr});
}

void DoOpenFile18Fx_HEX_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  InteractiveHex(name, kDoOpenFile18Fx_HEX_Routine, {buf, 0, start, end, nullptr});
}

int32_t ExeOpenFile18Fx_HEX_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  return SilentHex(name, kExeOpenFile18Fx_HEX_RoutAndRT, {buf, 0, start, end, nullptr});
}

void DoOpenFile33Fx_HEX_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  InteractiveHex(name, kDoOpenFile33Fx_HEX_Routine, {buf, 0, start, end, nullptr});
}

int32_t ExeOpenFile33Fx_HEX_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  return SilentHex(name, kExeOpenFile33Fx_HEX_RoutAndRT, {buf, 0, start, end, nullptr});
}

void DoOpenFile_HEX32_Routine(const char* name, uint32_t base, uint8_t* buf, uint32_t* start, uint32_t* end) {
  InteractiveHex(name, kDoOpenFile_HEX32_Routine, {buf, base, start, end, nullptr});
}

void DoOpenFile_HEX32_RoutineSum(const char* name, uint32_t base, uint8_t* buf, uint32_t* start, uint32_t* end,
                                 uint32_t* sum) {
  InteractiveHex(name, kDoOpenFile_HEX32_Routine, {buf, base, start, end, sum});
}

int32_t ExeOpenFile_HEX32_RoutAndRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                    uint32_t* end) {
  return SilentHex(name, kExeOpenFile_HEX32_RoutAndRT, {buf, base, start, end, nullptr});
}

int32_t ExeOpenFile_HEX32_RoutAndSumRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                       uint32_t* end, uint32_t* sum) {
  return SilentHex(name, kExeOpenFile_HEX32_RoutAndRT, {buf, base, start, end, sum});
}

void DoOpenFile_S19_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  InteractiveS(name, kDoOpenFile_S19_Routine, {buf, 0, start, end, nullptr});
}

int32_t ExeOpenFile_S19_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  return SilentS(name, kExeOpenFile_S19_RoutAndRT, {buf, 0, start, end, nullptr});
}

void DoOpenFile_SXx_Routine(const char* name, uint32_t base, uint8_t* buf, uint32_t* start, uint32_t* end) {
  InteractiveS(name, kDoOpenFile_SXx_Routine, {buf, base, start, end, nullptr});
}

void DoOpenFile_SXx_RoutineSum(const char* name, uint32_t base, uint8_t* buf, uint32_t* start, uint32_t* end,
                               uint32_t* sum) {
  InteractiveS(name, kDoOpenFile_SXx_Routine, {buf, base, start, end, sum});
}

int32_t ExeOpenFile_SXx_RoutAndRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                  uint32_t* end) {
  return SilentS(name, kExeOpenFile_SXx_RoutAndRT, {buf, base, start, end, nullptr});
}

int32_t ExeOpenFile_SXx_RoutAndSumRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                     uint32_t* end, uint32_t* sum) {
  return SilentS(name, kExeOpenFile_SXx_RoutAndRT, {buf, base, start, end, sum});
}

void DoOpenFile_BIN_Routine(const char* name, uint8_t* buf, uint32_t* end) {
  WithBinaryFile(name, [&](ByteSource& s, uint32_t size) { LoadBinary(s, size, buf, end, nullptr); });
}

void DoOpenFile_BIN_RoutineSum(const char* name, uint8_t* buf, uint32_t* end, uint32_t* sum) {
  uint32_t ignored = 0;
  WithBinaryFile(name, [&](ByteSource& s, uint32_t size) {
    LoadBinary(s, size, buf, end, sum != nullptr ? sum : &ignored);
  });
}

void DoOpenBinFileMaxLenRT(const char* name, uint8_t* buf, uint32_t* limit) {
  WithBinaryFile(name, [&](ByteSource& s, uint32_t size) { LoadBinaryLimited(s, size, buf, limit); });
}

int32_t ExeOpenFile_BIN_RoutAndRT(const char* name, uint8_t* buf, uint32_t* limit) {
  return WithBinaryFile(name, [&](ByteSource& s, uint32_t size) { return LoadBinaryLimited(s, size, buf, limit); });
}

void DoOpenFile_430Txt_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  TextFormat(name, [&](ByteSource& s) { return LoadTi430Text(s, buf, start, end); });
}

void DoOpenFile_TxtHex_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end) {
  TextFormat(name, [&](ByteSource& s) { return LoadTextHex(s, buf, start, end); });
}

void DoSaveToBinaryFile(const char* name, const uint8_t* buf, uint32_t start, uint32_t end) {
  Save(name, [&] { return WriteBinaryFile(name, buf, start, end); });
}

void SaveBinaryToMotFileRT(const char* name, const uint8_t* buf, uint32_t start, uint32_t end) {
  Save(name, [&] { return WriteSRecordFile(name, buf, 0, start, end); });
}

void SaveInOffstBinaryToMotFileRT(const char* name, const uint8_t* buf, uint32_t base, uint32_t start,
                                  uint32_t end) {
  Save(name, [&] { return WriteSRecordFile(name, buf, base, start, end); });
}

void SavBinaryToHexFileRT(const char* name, const uint8_t* buf, uint32_t start, uint32_t end) {
  Save(name, [&] { return WriteIntelHexFile(name, buf, 0, start, end); });
}

void SavInOffstBinaryToHexFileRT(const char* name, const uint8_t* buf, uint32_t base, uint32_t start,
                                 uint32_t end) {
  Save(name, [&] { return WriteIntelHexFile(name, buf, base, start, end); });
}

uint32_t GetBinaryCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  return BinaryCheckSum(buf, start, end);
}

uint32_t GetBinaryCheckSumDWord(const uint8_t* buf, uint32_t start, uint32_t end) {
  return BinaryCheckSumDWord(buf, start, end);
}

uint32_t GetBinaryRawACCxSumDWord(const uint8_t* buf, uint32_t start, uint32_t end) {
  return BinaryRawAccSumDWord(buf, start, end);
}

uint32_t GetBinaryRawACCxSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  return BinaryRawAccSum(buf, start, end);
}

uint32_t GetAccumulateCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  return AccumulateCheckSum(buf, start, end);
}

uint32_t GetRandomCheckSum(const uint8_t* buf, uint32_t start, uint32_t end, uint32_t polynomial) {
  return RandomCheckSum(buf, start, end, polynomial);
}

uint32_t GetKelpraCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  return KelpraCheckSum(buf, start, end);
}

uint32_t GetNecCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) { return NecCheckSum(buf, start, end); }

}  // extern "C"
