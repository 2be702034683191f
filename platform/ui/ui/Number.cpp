#include "ui/Number.h"

#include <cstdint>

namespace ui {

bool ParseInt(const wchar_t* text, int& value)
{
    if (!text)
        return false;
    const wchar_t* p = text;
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    if (*p < L'0' || *p > L'9')
        return false;
    int64_t magnitude = 0;
    while (*p >= L'0' && *p <= L'9') {
        magnitude = magnitude * 10 + (*p - L'0');
        if (magnitude > 2147483648LL)
            return false;
        ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p != L'\0')
        return false;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > 2147483647LL)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

} // namespace ui
