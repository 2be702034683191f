// What the stand-in device console reads from a driver set-up file: the
// device description of a hardware id's model line and the port kind that the
// hardware AddReg lines give.
#pragma once
#include <string>

enum class PortKind { Serial, Parallel };

struct InfDriver {
  std::wstring description;
  PortKind kind = PortKind::Serial;
};

// False when the file can't be opened or names no model for hardwareId.
bool ReadInfDriver(const std::wstring& infPath, const std::wstring& hardwareId, InfDriver& out);
