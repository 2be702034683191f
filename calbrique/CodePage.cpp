#include "CodePage.h"

UINT PrintCodePage(long characterSet)
{
    if ((characterSet >= 400 && characterSet <= 990) || characterSet >= 1000)
        return static_cast<UINT>(characterSet);
    return CP_ACP;
}

std::string ToCodePage(const wchar_t* text, UINT codePage)
{
    if (!text || !*text) return {};
    // -1: up to and with the terminating zero, which the sizes count.
    const int size = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string converted(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, 0, text, -1, converted.data(), size, nullptr, nullptr) != size) return {};
    // The converted text ends at its first zero byte.
    converted.resize(converted.find('\0'));
    return converted;
}
