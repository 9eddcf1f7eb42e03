#include "filelib/srecord_loaders.h"

#include "filelib/srecord_records.h"

namespace rhb {

FrameResult LoadSRecords(ByteSource& source, const SLoader& loader, const LoadTarget& target,
                         MessageBox& box) {
  SRecordState st;
  uint8_t* buf = target.buf;
  uint32_t base = target.base;
  RecordParser parse;
  if (loader.parser == SParser::Absolute)
    parse = [&](std::string_view line) { return ParseSRecord(line, buf, st); };
  else
    parse = [&](std::string_view line) { return ParseSRecordOffset(line, base, buf, st); };
  FrameResult r = RunLoaderFrame(source, LineFamily::SRecord, loader.rule, parse, st.span,
                                 {target.start, target.end}, box);
  if (target.sum != nullptr) *target.sum = st.sum;
  return r;
}

}  // namespace rhb
