#pragma once

#include <oleauto.h>

namespace com {

// Owner of one VARIANT (cleared when it goes).
class Variant
{
public:
    Variant() { VariantInit(&V); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { (void)VariantClear(&V); }  // nothing to do about a failure here

    VARIANT* Get() { return &V; }
    const VARIANT& operator*() const { return V; }
    const VARIANT* operator->() const { return &V; }

    // Empties the variant and gives it for an out parameter.
    VARIANT* Receive()
    {
        (void)VariantClear(&V);
        return &V;
    }

private:
    VARIANT V;
};

}  // namespace com
