#pragma once

#include <windows.h>

namespace com {

// Owner of one kernel handle. Both null and INVALID_HANDLE_VALUE mean "none".
class Handle
{
public:
    Handle() = default;
    explicit Handle(HANDLE h) : H(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : H(other.H) { other.H = nullptr; }
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            Close();
            H = other.H;
            other.H = nullptr;
        }
        return *this;
    }
    ~Handle() { Close(); }

    void Close()
    {
        if (Valid()) (void)CloseHandle(H);  // a failed close leaves nothing to undo
        H = nullptr;
    }

    bool Valid() const { return H != nullptr && H != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    HANDLE Get() const { return H; }

private:
    HANDLE H = nullptr;
};

}  // namespace com
