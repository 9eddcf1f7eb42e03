#include "filelib/loader_frame.h"

#include "filelib/io_error.h"
#include "filelib/result_codes.h"

namespace rhb {

namespace {

constexpr size_t kShortestLine = 3;
constexpr std::string_view kIntelMarks[] = {":00000001FF", ":00FFFF0101"};

bool Skipped(std::string_view line, LineFamily family) {
  if (line.size() < kShortestLine) return true;
  if (family != LineFamily::IntelHex) return false;
  for (std::string_view mark : kIntelMarks)
    if (line == mark) return true;
  return false;
}

// True when the load goes on past this line.
bool React(Reaction reaction, uint8_t code, uint16_t line_number, FrameResult& r, MessageBox& box) {
  switch (reaction) {
    case Reaction::Stop:
      r.stop_code = code;
      return false;
    case Reaction::Continue:
      return true;
    case Reaction::Remember:
      r.outside_seen = true;
      return true;
    case Reaction::Ask:
      if (box.ErrorOkAbort(LineErrorText(line_number, code)) == BoxAnswer::Ok) return true;
      r.stop_code = code;
      return false;
    case Reaction::Tell:
      box.ErrorOkAbort(LineErrorText(line_number, code));
      return true;
  }
  return true;
}

void CopySpan(const AddressSpan& span, SpanOut out) {
  if (out.start != nullptr) *out.start = span.lowest;
  if (out.end != nullptr) *out.end = span.highest;
}

}  // namespace

FrameResult RunLoaderFrame(ByteSource& source, LineFamily family, const LoaderRule& rule,
                           const RecordParser& parse, const AddressSpan& span, SpanOut out,
                           MessageBox& box) {
  FrameResult r;
  LineReader reader(source);
  uint16_t line_number = 0;  // wraps like the 16-bit count it stands for
  std::string_view line;
  while (reader.Next(line)) {
    ++line_number;
    if (Skipped(line, family)) continue;
    uint8_t code = parse(line);
    if (code != kAccepted) {
      Reaction reaction = code == kOutsideWindow ? rule.on_outside : rule.on_other;
      if (!React(reaction, code, line_number, r, box)) return r;
    }
    CopySpan(span, out);
  }
  if (reader.Failed()) {
    r.io_failed = true;
    r.io_errno = reader.Errno();
  }
  return r;
}

int32_t SilentResult(const FrameResult& r) {
  if (r.io_failed) return kIoFailed;
  if (r.outside_seen) return kOutsideWindow;
  return r.stop_code;
}

void ReportAfterLoad(const FrameResult& r, MessageBox& box) {
  if (r.outside_seen) box.Information(kOutOfSpaceText);
  if (r.io_failed) box.Error(IoErrorText(r.io_errno));
}

FrameResult OpenFailure(int error) {
  FrameResult r;
  r.io_failed = true;
  r.io_errno = error;
  return r;
}

}  // namespace rhb
