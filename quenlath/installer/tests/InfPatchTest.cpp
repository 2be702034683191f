// Turning on the port lines of the driver set-up file, on its bytes.
#include "InfPatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShippedInf.h"

namespace {

const char kSerialPage[] = ";HKR,,EnumPropPages32,,\"MsPorts.dll,SerialPortPropPageProvider\"";
const char kSubClass[] = ";HKR,,PortSubClass,1,00";
const char kParallelPage[] = ";HKR,,EnumPropPages32,,\"MsPorts.dll,ParallelPortPropPageProvider\"";
const char kSerialType[] = ";HKR,,DeviceType,0x00010001,0x0000001B ;serial";
const char kParallelType[] = ";HKR,,DeviceType,0x00010001,0x00000016 ;parallel";

// Offsets where the two texts differ.
std::vector<size_t> Changes(const std::string& before, const std::string& after) {
  std::vector<size_t> at;
  for (size_t i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) at.push_back(i);
  return at;
}

// The offset of a shipped line, which starts with its ";".
size_t LineAt(const std::string& inf, const char* line) {
  const size_t at = inf.find(std::string(line) + "\r\n");
  EXPECT_NE(std::string::npos, at) << line;
  return at;
}

TEST(InfPatch, SerialTurnsOnThePropertyPageAndTheSerialDeviceTypeOnly) {
  const std::string inf = ShippedInf();
  const std::string serial = Patched(inf, kSerialPort);
  ASSERT_EQ(inf.size(), serial.size());
  EXPECT_EQ((std::vector<size_t>{LineAt(inf, kSerialPage), LineAt(inf, kSerialType)}), Changes(inf, serial));
  EXPECT_NE(std::string::npos, serial.find(" HKR,,DeviceType,0x00010001,0x0000001B ;serial\r\n"));
}

TEST(InfPatch, ParallelTurnsOnSubClassPropertyPageAndTheParallelDeviceType) {
  const std::string inf = ShippedInf();
  const std::string parallel = Patched(inf, kParallelPort);
  ASSERT_EQ(inf.size(), parallel.size());
  EXPECT_EQ((std::vector<size_t>{LineAt(inf, kSubClass), LineAt(inf, kParallelPage), LineAt(inf, kParallelType)}),
            Changes(inf, parallel));
  // The trailing ";parallel" comment stays a comment.
  EXPECT_NE(std::string::npos, parallel.find(" HKR,,DeviceType,0x00010001,0x00000016 ;parallel\r\n"));
}

// The port device: full control for SYSTEM and Administrators, Everyone may
// only read and write.
TEST(InfPatch, TheShippedInfGivesEveryoneReadAndWriteOnly) {
  EXPECT_NE(std::string::npos,
            ShippedInf().find("\r\nHKR,,Security,,\"D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;GRGW;;;WD)\"\r\n"));
}

TEST(InfPatch, AnyOtherTypeChangesNothing) {
  const std::string inf = ShippedInf();
  for (int type : {-1, 2, 100}) EXPECT_EQ(inf, Patched(inf, type)) << type;
}

TEST(InfPatch, MissingLinesChangeNothing) {
  const std::string text = ";\r\n[Quenlath_Install_AddReg_HW]\r\n;HKR,,Security,,\"D:P\"\r\n";
  EXPECT_EQ(text, Patched(text, kSerialPort));
  EXPECT_EQ(text, Patched(text, kParallelPort));
  // "DeviceType" without the serial value after it.
  const std::string parallelOnly = std::string(kParallelType) + "\r\n";
  EXPECT_EQ(parallelOnly, Patched(parallelOnly, kSerialPort));
}

TEST(InfPatch, TheDeviceTypeValueCountsOnlyAfterTheFirstDeviceType) {
  const std::string text = ";x 0x0000001B\r\n;HKR,,DeviceType,0x00010001,0x0000001B\r\n";
  EXPECT_EQ(" HKR,,DeviceType", Patched(text, kSerialPort).substr(15, 16));
  EXPECT_EQ(";x", Patched(text, kSerialPort).substr(0, 2));
}

TEST(InfPatch, OnlyTheSemicolonThatBeginsTheMatchedLineIsRemoved) {
  // A line already on stays as it is, and so does the comment line before it.
  EXPECT_EQ(";; a\r\n HKR,,PortSubClass,1,00", Patched(";; a\r\n HKR,,PortSubClass,1,00", kParallelPort));
  // A ";" inside the line is no line's start.
  EXPECT_EQ("HKR,;,PortSubClass", Patched("HKR,;,PortSubClass", kParallelPort));
  EXPECT_EQ("x\n \t HKR,,PortSubClass", Patched("x\n \t;HKR,,PortSubClass", kParallelPort));
  // The text's start is the first line's start; nothing before it is touched.
  std::string text = ";\n;HKR,,PortSubClass";
  PatchInfText(&text[2], text.size() - 2, kParallelPort);
  EXPECT_EQ(";\n HKR,,PortSubClass", text);
  text = ";xHKR,,PortSubClass";
  PatchInfText(&text[2], text.size() - 2, kParallelPort);
  EXPECT_EQ(";xHKR,,PortSubClass", text);
}

TEST(InfPatch, SearchesStayWithinTheGivenBytes) {
  // The key's last byte lies just past the size: no match.
  std::string text = ";HKR,,EnumPropPages32,,\"MsPorts.dll,SerialPortPropPageProvider";
  PatchInfText(&text[0], text.size() - 1, kSerialPort);
  EXPECT_EQ(';', text[0]);
  PatchInfText(&text[0], text.size(), kSerialPort);
  EXPECT_EQ(' ', text[0]);
  std::string empty = ";";
  PatchInfText(&empty[0], 0, kSerialPort);
  EXPECT_EQ(";", empty);
}

}  // namespace
