#include "CheckHealthReport.h"

#include "PropertyTables.h"

std::string CheckHealthReport(long level, const std::string& deviceName)
{
    std::string report = "\x1B\x40";  // ESC @: initialise the printer
    if (level == 2) report += "External HCheck !!\r\n\r\n";
    if (level == 3) report += "Interactive HCheck !!\r\n\r\n";
    report += "OPOS Norvale\r\n\r\nServiceObjectVersion = " + std::to_string(ServiceObjectVersion) +
              "\r\n\r\nDeviceName = " + deviceName;
    report += "\x1B\x64\x05";  // ESC d 5: print and feed five lines
    return report;
}
