// Reading the device catalogue config.xml from the current directory with the
// MSXML DOM document.
#pragma once

#include "DeviceModel.h"

#include <msxml2.h>

#include <vector>

// The value of attribute `name` of `node` when the node is an element that
// has it as a string; otherwise the empty string.
CString GetAttributeString(IXMLDOMNode* node, const wchar_t* name);

// The models of class `deviceClass` (exact case) in document order; empty
// when the file is missing, not well formed or no DOM document can be made.
// Needs COM on the calling thread.
std::vector<DeviceModel> ReadCatalogue(const wchar_t* deviceClass);
