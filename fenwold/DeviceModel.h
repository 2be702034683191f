// One model of the device catalogue (config.xml) with the registry values it
// brings for each port kind.
#pragma once

#include "PortKind.h"
#include "ui/String.h"

#include <variant>
#include <vector>

// A catalogue parameter: written as value `name` of a new device key when the
// chosen port kind is `port` (or for every kind when `port` is None).
struct ModelParam {
    // A string (REG_SZ) or a 32-bit number (REG_DWORD).
    using Value = std::variant<CString, DWORD>;

    PortKind port = PortKind::None;
    CString name;
    Value value;
};

class DeviceModel {
public:
    CString type;   // device class
    CString model;  // device key name, shown in the model list
    CString soname; // default value of the device key

    // Appends a parameter when `portWord` is one of the catalogue's port
    // words ("none", "serial", "parallel", "usb", "ethernet", exact case);
    // any other word drops it without a report.
    void AddParam(const wchar_t* portWord, const wchar_t* name, const ModelParam::Value& value);

    int GetParamCount() const { return static_cast<int>(m_params.size()); }
    PortKind GetParamPort(int i) const { return m_params[static_cast<size_t>(i)].port; }
    const ModelParam& GetParam(int i) const { return m_params[static_cast<size_t>(i)]; }

    // The value of the first parameter named `name` (ASCII case ignored) as
    // text, a number in decimal; empty when there is none.
    CString GetParamString(const wchar_t* name) const;

private:
    std::vector<ModelParam> m_params;
};

// Equal apart from the case of the letters A to Z.
bool EqualsAsciiNoCase(const wchar_t* a, const wchar_t* b);
