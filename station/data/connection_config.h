#pragma once
// Which serial ports lead to programmer units: from "ConfigZEK.ini" in the
// program folder when it is there, else from the machine's serial-port
// list (USB virtual COM ports of the FTDI and Silicon Labs families that
// can be opened now). Main thread only.

#include <cstdint>
#include <string>
#include <string_view>

#include "station/data/station_state.h"
#include "station/data/views.h"

namespace zek {

inline constexpr const char* kConnectionFileName = "ConfigZEK.ini";

// ReadConnectionIni of AppDir's "ConfigZEK.ini" when it exists, else
// ScanSerialPorts.
void LoadDeviceConfig(StationState& st, PortListView& combo);

// Clears the list, then reads every line after the line "[Connection]":
// a TOTDEV line sets PortSlotCount, a DEV<n> line names slot n-1 (its
// PortComName, its component's CommName and a list item). Keys match
// without regard to case. The box text ends as PortComName[0]. Raises
// FileError when the file cannot be opened or read.
void ReadConnectionIni(StationState& st, const std::string& path, PortListView& combo);

// The slot count of an upper-cased TOTDEV line: the first decimal digit
// from its sixth character on; 0 for a line of five characters or less or
// one without a digit. One digit only: "TOTDEV=10" gives 1.
uint8_t ParseDeviceCount(std::string_view line);

// Clears the list and fills it with the ports st.PortScan lists (the FTDI
// and Silicon Labs ports that can be opened now). None: the box text says
// so and PortSlotCount stays; else PortSlotCount is their number (at most
// the ten slots) and the text is the last item.
void ScanSerialPorts(StationState& st, PortListView& combo);

// The window's "save COM info" command: writes the list to AppDir's
// "ConfigZEK.ini" (slot count, then at most five device lines) and says
// so in a message box; with an empty list it only says there is nothing
// to save. The file is replaced whole (ReplaceFileAtomically): a link
// keeps leading to it and its mode carries over. Raises FileError when the
// file cannot be written, leaving any earlier file as it was.
void SaveCOMConfigtoFile1Click(StationState& st);

}  // namespace zek
