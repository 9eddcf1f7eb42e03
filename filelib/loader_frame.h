#pragma once
// The frame that every Intel HEX and S-record loader runs: read the file
// line by line, skip short lines (and, for Intel HEX, the two exact end
// marks), hand each line to the record parser and act on its code; after
// each line that did not end the load, copy the running span to the
// caller's start and end.

#include <cstdint>
#include <functional>
#include <string_view>

#include "filelib/line_reader.h"
#include "filelib/message_box.h"
#include "filelib/record_state.h"

namespace rhb {

// What a loader does with a nonzero code.
enum class Reaction : uint8_t {
  Stop,      // end the load; the code is the result
  Continue,  // go on, no word
  Remember,  // go on; reported once when the load ends
  Ask,       // error box: OK goes on, Abort ends the load
  Tell,      // error box: either button goes on
};

struct LoaderRule {
  Reaction on_outside;  // code 6
  Reaction on_other;    // every other nonzero code
};

// Silent rules (no dialog) and the interactive ones.
inline constexpr LoaderRule kSilentStop{Reaction::Stop, Reaction::Stop};
inline constexpr LoaderRule kSilentOutsideGoesOn{Reaction::Remember, Reaction::Stop};
inline constexpr LoaderRule kAskEveryCode{Reaction::Ask, Reaction::Ask};
inline constexpr LoaderRule kAskOutsideSilent{Reaction::Continue, Reaction::Ask};
inline constexpr LoaderRule kAskOutsideAtEnd{Reaction::Remember, Reaction::Ask};
inline constexpr LoaderRule kTellOutsideSilent{Reaction::Continue, Reaction::Tell};

enum class LineFamily { IntelHex, SRecord };

struct FrameResult {
  uint8_t stop_code = 0;      // the code that ended the load, else 0
  bool outside_seen = false;  // a remembered code 6
  bool io_failed = false;     // the file could not be opened or read
  int io_errno = 0;
};

// Caller's out values; either pointer may be null.
struct SpanOut {
  uint32_t* start;
  uint32_t* end;
};

using RecordParser = std::function<uint8_t(std::string_view line)>;

// parse updates span; the frame copies it out.
FrameResult RunLoaderFrame(ByteSource& source, LineFamily family, const LoaderRule& rule,
                           const RecordParser& parse, const AddressSpan& span, SpanOut out,
                           MessageBox& box);

// Interactive rules show boxes; silent ones never do.
constexpr bool IsInteractive(const LoaderRule& rule) {
  return rule.on_other == Reaction::Ask || rule.on_other == Reaction::Tell;
}

// The silent loaders' result.
int32_t SilentResult(const FrameResult& r);

// What an interactive loader shows once the load has ended.
void ReportAfterLoad(const FrameResult& r, MessageBox& box);

// A loader's source, opened from a file name; a name that cannot be opened
// gives a failed frame result.
FrameResult OpenFailure(int error);

}  // namespace rhb
