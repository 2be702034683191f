#pragma once

#include <objbase.h>

namespace testkit {

// The calling thread in a single-threaded apartment for the owner's lifetime.
class ComApartment
{
public:
    ComApartment() : Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(Result)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Status() const { return Result; }

private:
    HRESULT Result;
};

}  // namespace testkit
