// The libFuzzer target: each input a fuzz program (program.hpp), which must run without a crash, give every kernel
// block back and leave the lists in reach consistent. The library's messages and memory reports are expected here.
#include "program.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  zv_set_msg_handler([](const char *, int16_t, const char *, void *) {}, nullptr);
  zv_set_memerr_handler([](const char *, void *) {}, nullptr);
  const long start = zv_live_blocks();
  zvfuzz::Input in(data, size);
  zvfuzz::run_program(in);
  zv_fail_alloc_after(-1);
  if (zv_live_blocks() != start) zvfuzz::fail("kernel blocks leaked", zv_live_blocks() - start, 0);
  return 0;
}
