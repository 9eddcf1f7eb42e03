#pragma once
// The ten Intel HEX loaders: a record parser and a rule each.

#include "filelib/line_reader.h"
#include "filelib/load_target.h"
#include "filelib/loader_frame.h"

namespace rhb {

enum class HexParser { Plain, Pic18Fx, Dspic33Fx, Offset };

struct HexLoader {
  HexParser parser;
  LoaderRule rule;
};

inline constexpr HexLoader kDoOpenFile_HEX_Routine{HexParser::Plain, kAskOutsideAtEnd};
inline constexpr HexLoader kExeOpenFile_HEX_RoutAndRT{HexParser::Plain, kSilentOutsideGoesOn};
inline constexpr HexLoader kDoOpenFile18Fx_HEX_Routine{HexParser::Pic18Fx, kAskEveryCode};
inline constexpr HexLoader kExeOpenFile18Fx_HEX_RoutAndRT{HexParser::Pic18Fx, kSilentStop};
inline constexpr HexLoader kDoOpenFile33Fx_HEX_Routine{HexParser::Dspic33Fx, kAskEveryCode};
inline constexpr HexLoader kExeOpenFile33Fx_HEX_RoutAndRT{HexParser::Dspic33Fx, kSilentStop};
// The HEX32 loaders with and without a sum share their rule.
inline constexpr HexLoader kDoOpenFile_HEX32_Routine{HexParser::Offset, kTellOutsideSilent};
inline constexpr HexLoader kExeOpenFile_HEX32_RoutAndRT{HexParser::Offset, kSilentStop};

// Runs one load; target.sum, when set, receives the offset parser's sum at
// the end, also after a stop.
FrameResult LoadHex(ByteSource& source, const HexLoader& loader, const LoadTarget& target, MessageBox& box);

}  // namespace rhb
