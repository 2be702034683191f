// Turning on the port-type lines of the driver set-up file Quenlath.inf.
#pragma once

#include <cstddef>

// Port types the installer offers.
enum InstallPortType { kSerialPort = 0, kParallelPort = 1 };

// Edits the file's bytes in place for the port type: the commented-out lines
// of that type lose their leading ";" (it becomes a space).  Only the ";"
// that begins a matched line changes; any other type changes nothing.  Every
// search stays within the size bytes given.
void PatchInfText(char* text, std::size_t size, int portType);
