/*
 * libDorvikRHB.so: image-file loaders, writers, buffer fill and checksums.
 *
 * Every buffer belongs to the caller and the library never learns its size:
 * size it for the files you pass (a loader's window, 16 MiB for the loaders
 * without one, the limit you give the two limited binary loaders).
 * Addresses, ends, bases and sums are unsigned 32-bit; ends are inclusive.
 * Silent loaders (ExeOpen...) return a result code, interactive ones
 * (DoOpen...) report each bad line in a message box. The library has no
 * window: its box always writes the text to standard error and answers OK.
 *
 * Result codes: 0 accepted, 1 no ':' or 'S' at the line start, 2 bad S-record
 * type, 3 Intel type 02/04 with an address field other than 0000, 4 record
 * checksum wrong (data already stored), 5 Intel type 06 or above, 6 data
 * outside the loader's window (binary loaders: a failed read), 10 binary
 * file longer than the limit, 255 the file could not be opened or read.
 */
#ifndef DORVIK_RHB_H
#define DORVIK_RHB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define RHB_API __attribute__((visibility("default")))
#else
#define RHB_API
#endif

/* Fill */
RHB_API void InitialDataBuffer(uint8_t* buf, uint32_t last_row, uint8_t fill);
RHB_API void InitialDataBuffer16M(uint8_t* buf, uint32_t last_row, uint8_t fill);

/* Intel HEX */
RHB_API void DoOpenFile_HEX_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API int32_t ExeOpenFile_HEX_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API void DoOpenFile18Fx_HEX_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API int32_t ExeOpenFile18Fx_HEX_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API void DoOpenFile33Fx_HEX_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API int32_t ExeOpenFile33Fx_HEX_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API void DoOpenFile_HEX32_Routine(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                      uint32_t* end);
RHB_API void DoOpenFile_HEX32_RoutineSum(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                         uint32_t* end, uint32_t* sum);
RHB_API int32_t ExeOpenFile_HEX32_RoutAndRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                            uint32_t* end);
RHB_API int32_t ExeOpenFile_HEX32_RoutAndSumRT(const char* name, uint32_t base, uint8_t* buf,
                                               uint32_t* start, uint32_t* end, uint32_t* sum);

/* Motorola S-record */
RHB_API void DoOpenFile_S19_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API int32_t ExeOpenFile_S19_RoutAndRT(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API void DoOpenFile_SXx_Routine(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                    uint32_t* end);
RHB_API void DoOpenFile_SXx_RoutineSum(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                       uint32_t* end, uint32_t* sum);
RHB_API int32_t ExeOpenFile_SXx_RoutAndRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                          uint32_t* end);
RHB_API int32_t ExeOpenFile_SXx_RoutAndSumRT(const char* name, uint32_t base, uint8_t* buf, uint32_t* start,
                                             uint32_t* end, uint32_t* sum);

/* Binary and text formats */
RHB_API void DoOpenFile_BIN_Routine(const char* name, uint8_t* buf, uint32_t* end);
RHB_API void DoOpenFile_BIN_RoutineSum(const char* name, uint8_t* buf, uint32_t* end, uint32_t* sum);
RHB_API void DoOpenBinFileMaxLenRT(const char* name, uint8_t* buf, uint32_t* limit);
RHB_API int32_t ExeOpenFile_BIN_RoutAndRT(const char* name, uint8_t* buf, uint32_t* limit);
RHB_API void DoOpenFile_430Txt_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);
RHB_API void DoOpenFile_TxtHex_Routine(const char* name, uint8_t* buf, uint32_t* start, uint32_t* end);

/* Writers: the inclusive range start..end; Offst variants read buf[address - base] */
RHB_API void DoSaveToBinaryFile(const char* name, const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API void SaveBinaryToMotFileRT(const char* name, const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API void SaveInOffstBinaryToMotFileRT(const char* name, const uint8_t* buf, uint32_t base, uint32_t start,
                                          uint32_t end);
RHB_API void SavBinaryToHexFileRT(const char* name, const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API void SavInOffstBinaryToHexFileRT(const char* name, const uint8_t* buf, uint32_t base, uint32_t start,
                                         uint32_t end);

/* Checksums over buf[start..end] */
RHB_API uint32_t GetBinaryCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API uint32_t GetBinaryCheckSumDWord(const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API uint32_t GetBinaryRawACCxSumDWord(const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API uint32_t GetBinaryRawACCxSum(const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API uint32_t GetAccumulateCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API uint32_t GetRandomCheckSum(const uint8_t* buf, uint32_t start, uint32_t end, uint32_t polynomial);
RHB_API uint32_t GetKelpraCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);
RHB_API uint32_t GetNecCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);

#ifdef __cplusplus
}
#endif

#endif
