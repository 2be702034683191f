// Shows the ESC/POS bytes a printer received: a listing of the bytes in hex
// with each command's name or the text, then the paper as it would print.
//
//   EscPosView <file> [code page of the text, 437 when not given]
#include "EscPosListing.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The printer's text as UTF-8, for the terminal.
std::string Utf8(const std::string& text, UINT codePage)
{
    if (text.empty()) return {};
    const int wide = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return text;
    std::wstring unicode(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), unicode.data(), wide);
    const int size = WideCharToMultiByte(CP_UTF8, 0, unicode.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, unicode.data(), wide, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: EscPosView <file> [code page]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %ls\n", argv[1]);
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const UINT codePage = argc > 2 ? static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)) : 437;

    std::printf("%zu bytes:\n%s\nThe paper (text in code page %u):\n", bytes.size(), EscPosListing(bytes).c_str(),
                codePage);
    for (const std::string& line : PaperLines(bytes)) std::printf("  | %s\n", Utf8(line, codePage).c_str());
    return 0;
}
