// The OPOS control object of a device class, called late-bound by name, as
// the interactive CheckHealth drives it.
#pragma once

#include "com/ComPtr.h"
#include "com/Variant.h"

#include <oaidl.h>

// The calls of the interactive CheckHealth, in the order they are made.
enum class ControlCallId { Open, ResultCodeExtended, ClaimDevice, Enable, CheckHealth, Disable, ReleaseDevice, Close };

class OposControl {
public:
    OposControl() = default;
    OposControl(const OposControl&) = delete;
    OposControl& operator=(const OposControl&) = delete;

    // Creates the control object of the ProgID "OPOS.<deviceClass>", asking
    // for IDispatch; the failing HRESULT otherwise.
    HRESULT Create(const wchar_t* deviceClass);

    // Makes call `id` with its argument from the call table (`text` is the
    // argument of the calls that take a string). False when the call failed.
    bool Call(ControlCallId id, const wchar_t* text = nullptr);
    // The 32-bit result of the last call; false when the call delivered none.
    bool Result(long& value) const;
    // "ResultCodeExtended", read into a holder of its own; 0 when unreadable.
    long ReadResultCodeExtended();
    // HRESULT of the last call.
    HRESULT LastError() const { return m_lastError; }

private:
    HRESULT Invoke(ControlCallId id, VARIANT& result);

    com::ComPtr<IDispatch> m_object;
    com::Variant m_argument;
    com::Variant m_result;
    HRESULT m_lastError = S_OK;
};
