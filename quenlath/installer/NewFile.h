// Writing an extracted file's bytes into a file of its own.
#pragma once

#include <cstddef>

enum class NewFileResult { kWritten, kNotCreated, kNotWritten };

// Writes the bytes into a new file at `path`, never over an existing one; on
// failure `error` is the system's error code.  The native builds (tests, fuzz
// target) take theirs from tests/NativeNewFile.cpp.
NewFileResult WriteNewFile(const wchar_t* path, const unsigned char* data, std::size_t size, unsigned& error);
