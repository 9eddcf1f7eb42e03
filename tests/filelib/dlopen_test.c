/*
 * The library as an outside program sees it: bound at run time with dlopen,
 * every export looked up by name and called with known answers.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "filelib/DorvikRHB.h"

static int passed, failed;

#define CHECK(cond)                                                 \
  do {                                                              \
    if (cond) {                                                     \
      ++passed;                                                     \
    } else {                                                        \
      ++failed;                                                     \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
    }                                                               \
  } while (0)

#define EXPORTS(X)                                                                                  \
  X(InitialDataBuffer) X(InitialDataBuffer16M) X(DoOpenFile_HEX_Routine) X(ExeOpenFile_HEX_RoutAndRT)  \
  X(DoOpenFile18Fx_HEX_Routine) X(ExeOpenFile18Fx_HEX_RoutAndRT) X(DoOpenFile33Fx_HEX_Routine)          \
  X(ExeOpenFile33Fx_HEX_RoutAndRT) X(DoOpenFile_HEX32_Routine) X(DoOpenFile_HEX32_RoutineSum)           \
  X(ExeOpenFile_HEX32_RoutAndRT) X(ExeOpenFile_HEX32_RoutAndSumRT) X(DoOpenFile_S19_Routine)            \
  X(ExeOpenFile_S19_RoutAndRT) X(DoOpenFile_SXx_Routine) X(DoOpenFile_SXx_RoutineSum)                   \
  X(ExeOpenFile_SXx_RoutAndRT) X(ExeOpenFile_SXx_RoutAndSumRT) X(DoOpenFile_BIN_Routine)                \
  X(DoOpenFile_BIN_RoutineSum) X(DoOpenBinFileMaxLenRT) X(ExeOpenFile_BIN_RoutAndRT)                    \
  X(DoOpenFile_430Txt_Routine) X(DoOpenFile_TxtHex_Routine) X(DoSaveToBinaryFile)                       \
  X(SaveBinaryToMotFileRT) X(SaveInOffstBinaryToMotFileRT) X(SavBinaryToHexFileRT)                      \
  X(SavInOffstBinaryToHexFileRT) X(GetBinaryCheckSum) X(GetBinaryCheckSumDWord)                         \
  X(GetBinaryRawACCxSumDWord) X(GetBinaryRawACCxSum) X(GetAccumulateCheckSum) X(GetRandomCheckSum)      \
  X(GetKelpraCheckSum) X(GetNecCheckSum)

#define DECLARE(name) static __typeof__(&name) p_##name;
EXPORTS(DECLARE)

static char dir[] = "/tmp/rhb-dlopen-XXXXXX";
static char paths[64][512];
static int next_path;
static uint8_t* img;
#define IMG_BYTES 0x1001000u

/* Each call gets its own slot, so names taken earlier stay valid. */
static const char* path_of(const char* name) {
  char* p = paths[next_path++ % 64];
  snprintf(p, sizeof paths[0], "%s/%s", dir, name);
  return p;
}

static const char* write_file(const char* name, const void* data, size_t n) {
  const char* p = path_of(name);
  FILE* f = fopen(p, "wb");
  if (f == NULL) abort();
  if (n > 0 && fwrite(data, 1, n, f) != n) abort();
  fclose(f);
  return p;
}

static const char* write_text(const char* name, const char* text) { return write_file(name, text, strlen(text)); }

static char* read_file(const char* p, size_t* n) {
  FILE* f = fopen(p, "rb");
  if (f == NULL) return NULL;
  char* data = malloc(1 << 20);
  *n = fread(data, 1, (1 << 20) - 1, f);
  data[*n] = 0;
  fclose(f);
  return data;
}

static void reset_image(void) { memset(img, 0xEE, IMG_BYTES); }

static size_t changed(void) {
  size_t n = 0;
  for (size_t i = 0; i < IMG_BYTES; ++i) n += img[i] != 0xEE;
  return n;
}

static void test_fill(void) {
  reset_image();
  p_InitialDataBuffer(img, 3, 0x5A);
  CHECK(changed() == 64 && img[63] == 0x5A && img[64] == 0xEE);
  reset_image();
  p_InitialDataBuffer16M(img, 0, 0x00);
  CHECK(changed() == 16);
  p_InitialDataBuffer16M(img, 0xFFFFF, 0x11);
  CHECK(img[0xFFFFFF] == 0x11 && img[0x1000000] == 0xEE);
}

static void test_intel_hex(void) {
  uint32_t start = 0x1234, end = 0x5678, sum = 99;
  const char* only_end = write_text("end.hex", ":00000001FF\n");
  CHECK(p_ExeOpenFile_HEX_RoutAndRT(only_end, img, &start, &end) == 0);
  CHECK(start == 0x1234 && end == 0x5678);
  const char* lower_end = write_text("end_lower.hex", ":00000001ff\n");
  p_DoOpenFile_HEX_Routine(lower_end, img, &start, &end);
  CHECK(start == 0xFFFFFFFF && end == 0);

  const char* empty = write_text("empty.hex", "");
  CHECK(p_ExeOpenFile_HEX_RoutAndRT(empty, img, &start, &end) == 0);
  CHECK(p_ExeOpenFile_HEX_RoutAndRT(path_of("missing.hex"), img, &start, &end) == 255);

  /* Linear base 0xF00000: outside the plain window, stored by 18Fx at 0xF0000 + AAAA. */
  const char* high = write_text("high.hex", ":0200000400F00A\n:02123400112285\n:00000001FF\n");
  reset_image();
  CHECK(p_ExeOpenFile_HEX_RoutAndRT(high, img, &start, &end) == 6);
  CHECK(start == 0xF01234 && end == 0xF01235 && changed() == 0);
  p_DoOpenFile_HEX_Routine(high, img, &start, &end);
  CHECK(changed() == 0);
  CHECK(p_ExeOpenFile18Fx_HEX_RoutAndRT(high, img, &start, &end) == 0);
  CHECK(img[0xF1234] == 0x11 && img[0xF1235] == 0x22 && start == 0xF1234 && end == 0xF1235);
  reset_image();
  p_DoOpenFile18Fx_HEX_Routine(high, img, &start, &end);
  CHECK(img[0xF1234] == 0x11 && changed() == 2);

  /* 33Fx folds 1FC0 to 0xC0000. */
  const char* fold = write_text("fold.hex", ":020000041FC01B\n:010000009966\n:01000000995A\n");
  reset_image();
  p_DoOpenFile33Fx_HEX_Routine(fold, img, &start, &end);
  CHECK(img[0xC0000] == 0x99 && start == 0xC0000 && end == 0xC0000);
  reset_image();
  CHECK(p_ExeOpenFile33Fx_HEX_RoutAndRT(fold, img, &start, &end) == 4);
  CHECK(img[0xC0000] == 0x99);

  /* HEX32 with base 0x10000: FFF0 is below the base, 0x410000 beyond the window. */
  const char* below = write_text("below.hex", ":01FFF00011FF\n");
  reset_image();
  start = end = 7;
  CHECK(p_ExeOpenFile_HEX32_RoutAndRT(below, 0x10000, img, &start, &end) == 0);
  CHECK(changed() == 0 && start == 0xFFFFFFFF && end == 0);
  const char* beyond = write_text("beyond.hex", ":020000040041B9\n:0100000055AA\n");
  CHECK(p_ExeOpenFile_HEX32_RoutAndSumRT(beyond, 0x10000, img, &start, &end, &sum) == 6);
  CHECK(end == 0 && sum == 0); /* the stopping line's span is not copied */
  p_DoOpenFile_HEX32_RoutineSum(beyond, 0x10000, img, &start, &end, &sum);
  CHECK(end == 0x410000 && sum == 0);
  const char* inside = write_text("inside.hex", ":020000040001F9\n:02001000A0B09E\n");
  p_DoOpenFile_HEX32_Routine(inside, 0x10000, img, &start, &end);
  CHECK(img[0x10] == 0xA0 && img[0x11] == 0xB0 && start == 0x10010 && end == 0x10011);
  p_DoOpenFile_HEX32_RoutineSum(inside, 0x10000, img, &start, &end, &sum);
  CHECK(sum == 0x150);
}

static void test_srecords(void) {
  uint32_t start = 0, end = 0, sum = 0;
  const char* s1 = write_text("s1.s19", "S0030000FC\nS1130000000102030405060708090A0B0C0D0E0F74\nS9030000FC\n");
  reset_image();
  CHECK(p_ExeOpenFile_S19_RoutAndRT(s1, img, &start, &end) == 0);
  CHECK(img[0] == 0 && img[15] == 15 && changed() == 16 && start == 0 && end == 15);
  const char* s3 = write_text("s3.s19", "S30601000000AA4E\n");
  CHECK(p_ExeOpenFile_S19_RoutAndRT(s3, img, &start, &end) == 6);
  p_DoOpenFile_S19_Routine(s3, img, &start, &end);
  CHECK(changed() == 16);

  const char* off = write_text("off.s19", "S1043FF011B9\nS10440102289\nS104401022A7\n");
  reset_image();
  p_DoOpenFile_SXx_Routine(off, 0x4000, img, &start, &end);
  CHECK(img[0x10] == 0x22 && start == 0x4010 && end == 0x4010 && changed() == 1);
  p_DoOpenFile_SXx_RoutineSum(off, 0x4000, img, &start, &end, &sum);
  CHECK(sum == 0x44);
  CHECK(p_ExeOpenFile_SXx_RoutAndRT(off, 0x4000, img, &start, &end) == 4);
  CHECK(p_ExeOpenFile_SXx_RoutAndSumRT(off, 0x4000, img, &start, &end, &sum) == 4);
  CHECK(sum == 0x44); /* the bad record was stored before its check */
}

static void test_binary(void) {
  uint32_t end = 0, sum = 1, limit;
  size_t big = 5000000;
  uint8_t* data = malloc(big);
  for (size_t i = 0; i < big; ++i) data[i] = (uint8_t)(i * 7);
  const char* five = write_file("five.bin", data, big);
  reset_image();
  p_DoOpenFile_BIN_Routine(five, img, &end);
  CHECK(end == 0x3FFFFF && memcmp(img, data, 0x400000) == 0 && img[0x400000] == 0xEE);
  const char* small = write_file("small.bin", data, 0x600);
  p_DoOpenFile_BIN_RoutineSum(small, img, &end, &sum);
  uint32_t want = 0;
  for (size_t i = 0; i < 0x600; ++i) want += data[i];
  CHECK(end == 0x5FF && sum == want);
  const char* empty = write_file("empty.bin", data, 0);
  p_DoOpenFile_BIN_Routine(empty, img, &end);
  CHECK(end == 0xFFFFFFFF);
  reset_image();
  p_DoOpenFile_BIN_RoutineSum(path_of("missing.bin"), img, &end, &sum);
  CHECK(end == 0x3FFFFF && sum == 0 && changed() == 0);

  const char* two = write_file("two.bin", data, 0x2000);
  limit = 0x1000;
  reset_image();
  CHECK(p_ExeOpenFile_BIN_RoutAndRT(two, img, &limit) == 10);
  CHECK(limit == 0x1000 && memcmp(img, data, 0x1000) == 0 && img[0x1000] == 0xEE);
  limit = 0x1000;
  CHECK(p_ExeOpenFile_BIN_RoutAndRT(small, img, &limit) == 0 && limit == 0x5FF);
  limit = 0x1000;
  CHECK(p_ExeOpenFile_BIN_RoutAndRT(path_of("missing.bin"), img, &limit) == 6 && limit == 0x1000);
  limit = 0xFFFFFFFF;
  p_DoOpenBinFileMaxLenRT(path_of("missing.bin"), img, &limit);
  CHECK(limit == 0xFFFFFFFE);
  limit = 0x1000;
  p_DoOpenBinFileMaxLenRT(two, img, &limit);
  CHECK(limit == 0x1000 && memcmp(img, data, 0x1000) == 0);
  free(data);
}

static void test_text_formats(void) {
  uint32_t start = 0, end = 0;
  const char* ti = write_text("ti.txt", "@F000\n31 40 00 03\nq\n@0000\n11 22\n");
  reset_image();
  p_DoOpenFile_430Txt_Routine(ti, img, &start, &end);
  CHECK(img[0xF000] == 0x31 && img[0xF003] == 0x03 && changed() == 4 && start == 0xF000 && end == 0xFFFF);
  const char* th = write_text("th.txt", "@1000 AB 1234 5\n@2000 AB  CD \n");
  reset_image();
  p_DoOpenFile_TxtHex_Routine(th, img, &start, &end);
  CHECK(img[0x1000] == 0xAB && img[0x1001] == 0x34 && img[0x1002] == 0x12 && img[0x1003] == 0xEE);
  CHECK(img[0x2000] == 0xAB && img[0x2001] == 0x00 && img[0x2002] == 0xCD && changed() == 6);
  CHECK(start == 0x1000 && end == 0xFFFF);
  start = 5;
  p_DoOpenFile_TxtHex_Routine(path_of("missing.txt"), img, &start, &end);
  CHECK(start == 5);
}

static int file_is(const char* p, const char* expected) {
  size_t n = 0;
  char* text = read_file(p, &n);
  int same = text != NULL && strcmp(text, expected) == 0;
  if (!same) fprintf(stderr, "%s holds:\n%s\n", p, text ? text : "(nothing)");
  free(text);
  return same;
}

static void test_writers(void) {
  reset_image();
  for (int i = 0; i < 0x40; ++i) img[i] = (uint8_t)i;
  img[0x10000] = 0xAB;
  p_SaveBinaryToMotFileRT(path_of("w.s19"), img, 0, 0x3F);
  CHECK(file_is(path_of("w.s19"),
                "S1230000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FEC\n"
                "S1230020202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3FCC\n"
                "S9030000FC\n"));
  p_SaveInOffstBinaryToMotFileRT(path_of("off.s28"), img, 0x10000, 0x20000, 0x20000);
  CHECK(file_is(path_of("off.s28"), "S205020000AB4D\nS804000000FB\n"));
  p_SavBinaryToHexFileRT(path_of("w.hex"), img, 0, 0x10);
  CHECK(file_is(path_of("w.hex"),
                ":10000000000102030405060708090A0B0C0D0E0F78\n:0100100010DF\n:00000001FF\n"));
  p_SavInOffstBinaryToHexFileRT(path_of("off.hex"), img, 0x10000, 0x20000, 0x20000);
  CHECK(file_is(path_of("off.hex"), ":020000040002F8\n:01000000AB54\n:00000001FF\n"));
  p_DoSaveToBinaryFile(path_of("w.bin"), img, 0x3E, 0x3F);
  CHECK(file_is(path_of("w.bin"), "\x3E\x3F"));
  p_DoSaveToBinaryFile(path_of("none.bin"), img, 2, 1);
  CHECK(file_is(path_of("none.bin"), ""));
  p_SaveBinaryToMotFileRT(path_of("no/such/folder.s19"), img, 0, 1); /* reported, no crash */
}

static void test_checksums(void) {
  reset_image();
  img[0] = 0x01;
  CHECK(p_GetBinaryCheckSum(img, 0, 0) == 0xFFFF);
  CHECK(p_GetBinaryCheckSumDWord(img, 0, 0) == 0xFFFFFFFF);
  CHECK(p_GetBinaryRawACCxSum(img, 0, 0) == 1);
  CHECK(p_GetBinaryRawACCxSumDWord(img, 0, 0) == 1);
  CHECK(p_GetAccumulateCheckSum(img, 0, 0) == 0xFFFF);
  CHECK(p_GetKelpraCheckSum(img, 0, 0) == 1);
  img[1] = 0x00;
  CHECK(p_GetKelpraCheckSum(img, 0, 1) == 0x4A12);
  CHECK(p_GetNecCheckSum(img, 0, 1) == 0x1B00);
  CHECK(p_GetRandomCheckSum(img, 0, 1, 0x18005) == 0x8005);
  memset(img + 0x100, 0, 0x100);
  CHECK(p_GetBinaryCheckSum(img, 0x100, 0x1FF) == 0x10000);
  CHECK(p_GetAccumulateCheckSum(img, 0x100, 0x1FF) == 0x10000);
  CHECK(p_GetBinaryCheckSumDWord(img, 0x100, 0x1FF) == 0);
  CHECK(p_GetNecCheckSum(img, 0x100, 0x1FF) == 0);
  img[0x1000000] = 1;
  CHECK(p_GetBinaryCheckSum(img, 0x1000000, 0x1000000) == 0);
  CHECK(p_GetKelpraCheckSum(img, 0x1000000, 0x1000000) == 0);
  CHECK(p_GetNecCheckSum(img, 0x1000000, 0x1000000) == 1);
}

int main(void) {
  void* lib = dlopen(RHB_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (lib == NULL) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  int missing = 0;
#define LOOKUP(name)                                   \
  p_##name = (__typeof__(&name))dlsym(lib, #name);    \
  if (p_##name == NULL) {                              \
    fprintf(stderr, "missing export %s\n", #name);     \
    ++missing;                                         \
  }
  EXPORTS(LOOKUP)
  if (missing) return 1;
  if (mkdtemp(dir) == NULL) return 1;
  img = malloc(IMG_BYTES);

  test_fill();
  test_intel_hex();
  test_srecords();
  test_binary();
  test_text_formats();
  test_writers();
  test_checksums();

  free(img);
  char cmd[600];
  snprintf(cmd, sizeof cmd, "rm -rf '%s'", dir);
  if (system(cmd) != 0) fprintf(stderr, "could not remove %s\n", dir);
  dlclose(lib);
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
