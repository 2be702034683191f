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

// ERROR_SUCCESS; the error of opening the file; or ERROR_NOT_FOUND when it
// names no model for hardwareId.
unsigned long ReadInfDriver(const std::wstring& infPath, const std::wstring& hardwareId, InfDriver& out);
