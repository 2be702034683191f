// The driver set-up file as the package ships it, and a text as the
// installer patches it for a port type.
#pragma once

#include <string>
#include <vector>

#include "InfPatch.h"
#include "TestFiles.h"

inline std::string ShippedInf() {
  const std::vector<std::uint8_t> bytes = ReadBytes(QUENLATH_INF_PATH);
  return std::string(bytes.begin(), bytes.end());
}

inline std::string Patched(std::string text, int portType) {
  PatchInfText(&text[0], text.size(), portType);
  return text;
}
