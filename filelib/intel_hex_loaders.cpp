#include "filelib/intel_hex_loaders.h"

#include "filelib/intel_hex_records.h"

namespace rhb {

FrameResult LoadHex(ByteSource& source, const HexLoader& loader, const LoadTarget& target, MessageBox& box) {
  HexRecordState st;
  uint8_t* buf = target.buf;
  uint32_t base = target.base;
  RecordParser parse;
  switch (loader.parser) {
    case HexParser::Plain:
      parse = [&](std::string_view line) { return ParseHexRecord(line, buf, st); };
      break;
    case HexParser::Pic18Fx:
      parse = [&](std::string_view line) { return ParseHexRecord18Fx(line, buf, st); };
      break;
    case HexParser::Dspic33Fx:
      parse = [&](std::string_view line) { return ParseHexRecord33Fx(line, buf, st); };
      break;
    case HexParser::Offset:
      parse = [&](std::string_view line) { return ParseHexRecordOffset(line, base, buf, st); };
      break;
  }
  FrameResult r = RunLoaderFrame(source, LineFamily::IntelHex, loader.rule, parse, st.span,
                                 {target.start, target.end}, box);
  if (target.sum != nullptr) *target.sum = st.sum;
  return r;
}

}  // namespace rhb
