#pragma once

#include <unknwn.h>

namespace com {

// Owner of one counted reference on a COM interface.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    // Takes a reference of its own on p.
    explicit ComPtr(T* p) : P(p) { if (P) P->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.P) {}
    ComPtr(ComPtr&& other) noexcept : P(other.P) { other.P = nullptr; }
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        T* old = P;
        P = other.P;
        other.P = old;
        return *this;
    }

    // Adopts a reference the caller already holds.
    static ComPtr Adopt(T* p)
    {
        ComPtr r;
        r.P = p;
        return r;
    }

    void Reset()
    {
        T* old = P;
        P = nullptr;
        if (old) old->Release();
    }

    // Releases what is held and gives the address for an out parameter.
    T** Receive()
    {
        Reset();
        return &P;
    }

    // Hands the reference to the caller.
    T* Detach()
    {
        T* p = P;
        P = nullptr;
        return p;
    }

    T* Get() const { return P; }
    T* operator->() const { return P; }
    explicit operator bool() const { return P != nullptr; }

private:
    T* P = nullptr;
};

}  // namespace com
