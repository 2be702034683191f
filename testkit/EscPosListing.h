#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Readable forms of the ESC/POS bytes a printer received.

// One line per command or run of text: offset, the bytes in hex, then the
// command's name and meaning, or the text in quotes (bytes outside
// printable ASCII as \xNN).
std::string EscPosListing(const std::vector<std::uint8_t>& bytes);

// The paper as the printer would print it: the text lines in the printer's
// code page, bar codes and cuts as marks, commands dropped.
std::vector<std::string> PaperLines(const std::vector<std::uint8_t>& bytes);
