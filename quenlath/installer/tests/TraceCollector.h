// The installer's DebugTrace lines, collected for a test.
#pragma once

#include <string>
#include <vector>

#include "DebugTrace.h"

// Takes the trace lines while it lives; an inner collector takes them from an
// outer one until it ends.
class TraceCollector {
 public:
  TraceCollector();
  ~TraceCollector();
  TraceCollector(const TraceCollector&) = delete;
  TraceCollector& operator=(const TraceCollector&) = delete;

  const std::vector<std::wstring>& Lines() const { return m_lines; }
  void Clear() { m_lines.clear(); }

 private:
  static void Collect(const wchar_t* text);

  TraceCollector* m_outer;
  DebugTraceSink m_previousSink;
  std::vector<std::wstring> m_lines;
};

// The work folder of an install or uninstall, from its first trace line (its
// creation); empty when that line is another.
std::wstring WorkFolderIn(const std::vector<std::wstring>& traces);
