#include "DebugTrace.h"

#include <gtest/gtest.h>

#include <string>

#include "TraceCollector.h"

namespace {

class DebugTraceTest : public ::testing::Test {
 protected:
  TraceCollector m_traces;
};

TEST_F(DebugTraceTest, FormatsWideStringsAndNumbers) {
  DebugTrace(L"create dir %ls\n", L"C:\\tmp\\jz1.tmp");
  DebugTrace(L"Open inf fail: %8.8XH\n", 0x2u);
  ASSERT_EQ(2u, m_traces.Lines().size());
  EXPECT_EQ(L"create dir C:\\tmp\\jz1.tmp\n", m_traces.Lines()[0]);
  EXPECT_EQ(L"Open inf fail: 00000002H\n", m_traces.Lines()[1]);
}

TEST_F(DebugTraceTest, SendsUpTo199CharactersAndDropsLongerTextsWhole) {
  const std::wstring fits(199, L'a');
  DebugTrace(L"%ls", fits.c_str());
  ASSERT_EQ(1u, m_traces.Lines().size());
  EXPECT_EQ(fits, m_traces.Lines()[0]);

  for (size_t n : {200u, 201u, 1000u}) {
    const std::wstring tooLong(n, L'b');
    DebugTrace(L"%ls", tooLong.c_str());
  }
  DebugTrace(L"x%ls", fits.c_str());  // 200 after formatting
  EXPECT_EQ(1u, m_traces.Lines().size());
}

}  // namespace
