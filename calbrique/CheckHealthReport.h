#pragma once

#include <string>

// The report CheckHealth prints: printer initialisation, the header of the
// level (2 external, 3 interactive, none for others), the service object's
// identification with `deviceName` (already in the printer's code page),
// then a feed of five lines.
std::string CheckHealthReport(long level, const std::string& deviceName);
