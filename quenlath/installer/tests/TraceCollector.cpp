#include "TraceCollector.h"

namespace {

TraceCollector* g_active = nullptr;

}  // namespace

TraceCollector::TraceCollector() : m_outer(g_active), m_previousSink(SetDebugTraceSink(Collect)) { g_active = this; }

TraceCollector::~TraceCollector() {
  g_active = m_outer;
  SetDebugTraceSink(m_previousSink);
}

void TraceCollector::Collect(const wchar_t* text) { g_active->m_lines.emplace_back(text); }

std::wstring WorkFolderIn(const std::vector<std::wstring>& traces) {
  const std::wstring prefix = L"create dir ";
  if (traces.empty() || traces[0].compare(0, prefix.size(), prefix) != 0) return L"";
  return traces[0].substr(prefix.size(), traces[0].size() - prefix.size() - 1);
}
