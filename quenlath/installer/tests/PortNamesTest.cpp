// The free-name choice of port renumbering.
#include "PortNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;

TEST(PortNameKind, ChosenByTheFirstThreeCharactersInExactCase) {
  const PortNameKind* com = PortNameKindOf(L"COM3");
  ASSERT_NE(nullptr, com);
  EXPECT_EQ(std::wstring(L"COM"), com->prefix);
  EXPECT_EQ(256, com->highest);
  EXPECT_EQ(std::wstring(L"HARDWARE\\DEVICEMAP\\SERIALCOMM"), com->deviceMapKey);
  const PortNameKind* lpt = PortNameKindOf(L"LPT2");
  ASSERT_NE(nullptr, lpt);
  EXPECT_EQ(std::wstring(L"LPT"), lpt->prefix);
  EXPECT_EQ(3, lpt->highest);
  EXPECT_EQ(std::wstring(L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS"), lpt->deviceMapKey);
  EXPECT_EQ(com, PortNameKindOf(L"COMxyz"));
  EXPECT_EQ(lpt, PortNameKindOf(L"LPT"));
  for (const wchar_t* other : {L"", L"CO", L"com3", L"Com3", L"lpt1", L"USB1", L"XCOM1", L" COM1"})
    EXPECT_EQ(nullptr, PortNameKindOf(other)) << other;
}

TEST(InUseName, FromThePrefixOnElseTheWholeText) {
  EXPECT_EQ(L"LPT1", InUseName(L"\\DosDevices\\LPT1", L"LPT"));
  EXPECT_EQ(L"COM3", InUseName(L"COM3", L"COM"));
  EXPECT_EQ(L"Serial7", InUseName(L"Serial7", L"COM"));
  EXPECT_EQ(L"COMx\\COM4", InUseName(L"\\Device\\COMx\\COM4", L"COM"));  // first occurrence
  EXPECT_EQ(L"", InUseName(L"", L"COM"));
  EXPECT_EQ(L"\\DosDevices\\lpt1", InUseName(L"\\DosDevices\\lpt1", L"LPT"));  // exact case
}

TEST(FreePortNames, SerialLeavesOutTheNamesInUseInAscendingOrder) {
  const Names free = FreePortNames(L"COM", 256, {L"COM1", L"COM3"});
  ASSERT_EQ(254u, free.size());
  EXPECT_EQ(L"COM2", free[0]);
  EXPECT_EQ(L"COM4", free[1]);
  EXPECT_EQ(L"COM9", free[6]);
  EXPECT_EQ(L"COM10", free[7]);
  EXPECT_EQ(L"COM256", free.back());
}

TEST(FreePortNames, ParallelOffersOnlyWhatIsLeftOfThree) {
  EXPECT_EQ(Names({L"LPT3"}), FreePortNames(L"LPT", 3, {InUseName(L"\\DosDevices\\LPT1", L"LPT"),
                                                         InUseName(L"\\DosDevices\\LPT2", L"LPT")}));
  EXPECT_EQ(Names({L"LPT1", L"LPT2", L"LPT3"}), FreePortNames(L"LPT", 3, {}));
  EXPECT_EQ(Names(), FreePortNames(L"LPT", 3, {L"LPT3", L"LPT1", L"LPT2"}));
}

TEST(FreePortNames, OnlyExactEqualNamesBlockACandidate) {
  // Case, leading zeros, trailing text and names past the highest block nothing.
  EXPECT_EQ(Names({L"LPT1", L"LPT2", L"LPT3"}),
            FreePortNames(L"LPT", 3, {L"lpt1", L"LPT02", L"LPT3 ", L"LPT4", L"Parallel0", L""}));
  // A name listed twice blocks its one candidate.
  EXPECT_EQ(Names({L"LPT1", L"LPT3"}), FreePortNames(L"LPT", 3, {L"LPT2", L"LPT2"}));
}

}  // namespace
