#include "DebugTrace.h"

#include <cstdarg>
#include <cwchar>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void DefaultSink(const wchar_t* text) {
#ifdef _WIN32
  OutputDebugStringW(text);
#else
  (void)text;
#endif
}

DebugTraceSink g_sink = DefaultSink;

}  // namespace

DebugTraceSink SetDebugTraceSink(DebugTraceSink sink) {
  const DebugTraceSink previous = g_sink;
  g_sink = sink ? sink : DefaultSink;
  return previous;
}

void DebugTrace(const wchar_t* format, ...) {
  wchar_t text[200];
  va_list args;
  va_start(args, format);
  const int n = vswprintf(text, 200, format, args);
  va_end(args);
  // A text that did not fit (or failed to format) leaves the buffer undefined.
  if (n < 0 || n > 199) return;
  g_sink(text);
}
