#pragma once

#include <oleauto.h>

namespace com {

// Owner of one BSTR.
class BStr
{
public:
    BStr() = default;
    explicit BStr(const wchar_t* text) : S(text ? SysAllocString(text) : nullptr) {}
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    BStr(BStr&& other) noexcept : S(other.S) { other.S = nullptr; }
    BStr& operator=(BStr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            S = other.S;
            other.S = nullptr;
        }
        return *this;
    }
    ~BStr() { Reset(); }

    void Reset()
    {
        SysFreeString(S);
        S = nullptr;
    }

    // Frees what is held and gives the address for an out parameter.
    BSTR* Receive()
    {
        Reset();
        return &S;
    }

    BSTR Detach()
    {
        BSTR s = S;
        S = nullptr;
        return s;
    }

    BSTR Get() const { return S; }
    // The text, "" for a null BSTR.
    const wchar_t* Text() const { return S ? S : L""; }
    UINT Length() const { return SysStringLen(S); }

private:
    BSTR S = nullptr;
};

}  // namespace com
