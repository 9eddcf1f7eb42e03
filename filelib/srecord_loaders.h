#pragma once
// The six S-record loaders: a record parser and a rule each.

#include "filelib/line_reader.h"
#include "filelib/load_target.h"
#include "filelib/loader_frame.h"

namespace rhb {

enum class SParser { Absolute, Offset };

struct SLoader {
  SParser parser;
  LoaderRule rule;
};

inline constexpr SLoader kDoOpenFile_S19_Routine{SParser::Absolute, kAskEveryCode};
inline constexpr SLoader kExeOpenFile_S19_RoutAndRT{SParser::Absolute, kSilentStop};
// The SXx loaders with and without a sum share their rule.
inline constexpr SLoader kDoOpenFile_SXx_Routine{SParser::Offset, kAskOutsideSilent};
inline constexpr SLoader kExeOpenFile_SXx_RoutAndRT{SParser::Offset, kSilentStop};

// Runs one load; target.sum, when set, receives the sum of the stored bytes
// at the end, also after a stop or Abort.
FrameResult LoadSRecords(ByteSource& source, const SLoader& loader, const LoadTarget& target,
                         MessageBox& box);

}  // namespace rhb
