#include "DeviceCatalog.h"

#include "Trace.h"
#include "com/BStr.h"
#include "com/ComPtr.h"
#include "com/Variant.h"

#include <shlwapi.h>

#include <cwchar>

namespace {
// mingw's msxml2.h declares these without defining them.
const CLSID kDomDocumentClsid = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kDomDocument2Iid = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kDomElementIid = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// The C runtime's reading with base 0 into 32 bits: 0x hex, 0 octal or
// decimal, stopping at the first other character, saturating at the top.
DWORD ParseNumber(const wchar_t* text)
{
    return static_cast<DWORD>(wcstoul(text, nullptr, 0));
}

// .\config.xml made absolute: MSXML would take a relative name from the
// program's folder instead of the current directory.
bool CataloguePath(wchar_t (&path)[MAX_PATH])
{
    wchar_t relative[MAX_PATH] = L".";
    if (!PathAppendW(relative, L"config.xml"))
        return false;
    const DWORD length = GetFullPathNameW(relative, MAX_PATH, path, nullptr);
    return length > 0 && length < MAX_PATH;
}

void ReadParams(IXMLDOMElement* device, DeviceModel& entry)
{
    com::ComPtr<IXMLDOMNodeList> children;
    if (FAILED(device->get_childNodes(children.Receive())) || !children)
        return;
    long count = 0;
    if (FAILED(children->get_length(&count)))
        return;
    for (long i = 0; i < count; ++i) {
        com::ComPtr<IXMLDOMNode> child;
        if (FAILED(children->get_item(i, child.Receive())) || !child)
            continue;
        com::BStr nodeName;
        if (FAILED(child->get_nodeName(nodeName.Receive())))
            continue;
        if (wcscmp(nodeName.Text(), L"param") != 0) {
            Trace(L"unknown sub node %s of device\n", nodeName.Text());
            continue;
        }
        const CString port = GetAttributeString(child.Get(), L"port");
        const CString name = GetAttributeString(child.Get(), L"name");
        const CString type = GetAttributeString(child.Get(), L"type");
        const CString value = GetAttributeString(child.Get(), L"value");
        if (EqualsAsciiNoCase(type, L"dword"))
            entry.AddParam(port, name, ParseNumber(value));
        else
            entry.AddParam(port, name, value);
    }
}
} // namespace

CString GetAttributeString(IXMLDOMNode* node, const wchar_t* name)
{
    com::ComPtr<IXMLDOMElement> element;
    if (FAILED(node->QueryInterface(kDomElementIid, reinterpret_cast<void**>(element.Receive()))) || !element)
        return CString();
    com::BStr attribute(name);
    com::Variant value;
    if (element->getAttribute(attribute.Get(), value.Receive()) != S_OK || value->vt != VT_BSTR)
        return CString();
    return CString(value->bstrVal ? value->bstrVal : L"");
}

std::vector<DeviceModel> ReadCatalogue(const wchar_t* deviceClass)
{
    std::vector<DeviceModel> catalogue;
    com::ComPtr<IXMLDOMDocument2> document;
    if (FAILED(CoCreateInstance(kDomDocumentClsid, nullptr, CLSCTX_ALL, kDomDocument2Iid,
                                reinterpret_cast<void**>(document.Receive()))) || !document)
        return catalogue;
    // The whole file is parsed before load returns.
    if (FAILED(document->put_async(VARIANT_FALSE)))
        return catalogue;

    wchar_t path[MAX_PATH];
    if (!CataloguePath(path))
        return catalogue;
    com::Variant source;
    source.Get()->vt = VT_BSTR;
    source.Get()->bstrVal = SysAllocString(path);
    if (!source->bstrVal)
        return catalogue;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (document->load(*source, &loaded) != S_OK || loaded != VARIANT_TRUE)
        return catalogue;

    com::BStr tag(L"device");
    com::ComPtr<IXMLDOMNodeList> devices;
    if (FAILED(document->getElementsByTagName(tag.Get(), devices.Receive())) || !devices)
        return catalogue;
    long count = 0;
    if (FAILED(devices->get_length(&count)))
        return catalogue;
    for (long i = 0; i < count; ++i) {
        com::ComPtr<IXMLDOMNode> node;
        if (FAILED(devices->get_item(i, node.Receive())) || !node)
            continue;
        DeviceModel entry;
        entry.type = GetAttributeString(node.Get(), L"type");
        entry.model = GetAttributeString(node.Get(), L"model");
        entry.soname = GetAttributeString(node.Get(), L"soname");
        if (entry.type != deviceClass)
            continue;
        com::ComPtr<IXMLDOMElement> element;
        if (SUCCEEDED(node->QueryInterface(kDomElementIid, reinterpret_cast<void**>(element.Receive()))) && element)
            ReadParams(element.Get(), entry);
        catalogue.push_back(entry);
    }
    return catalogue;
}
