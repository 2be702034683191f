#include "Registrar.h"

#include "RegKey.h"

#include <cwctype>
#include <memory>

namespace com {

namespace {

const HRESULT BadScript = HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);

struct ScriptValue {
    std::wstring Name;  // empty: the key's default value
    std::wstring Data;
};

struct ScriptKey {
    std::wstring Name;
    bool NoRemove = false;
    bool ForceRemove = false;
    std::vector<ScriptValue> Values;
    std::vector<ScriptKey> Keys;
};

struct ScriptRoot {
    HKEY Root;
    std::vector<ScriptKey> Keys;
};

bool Substitute(const std::wstring& text, const std::vector<Replacement>& replacements, std::wstring& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(L'%', i + 1);
        if (end == std::wstring::npos) return false;
        const std::wstring name = text.substr(i + 1, end - i - 1);
        if (name.empty()) {
            out += L'%';
        } else {
            const Replacement* found = nullptr;
            for (const Replacement& r : replacements)
                if (r.Name == name) found = &r;
            if (!found) return false;
            for (wchar_t c : found->Value) {  // replacements land inside quoted text
                out += c;
                if (c == L'\'') out += L'\'';
            }
        }
        i = end;
    }
    return true;
}

class Parser
{
public:
    explicit Parser(const std::wstring& text) : Text(text) {}

    bool Parse(std::vector<ScriptRoot>& roots)
    {
        std::wstring token;
        bool quoted = false;
        while (Next(token, quoted)) {
            ScriptRoot root{RootKey(token), {}};
            if (quoted || !root.Root || !Expect(L"{") || !ParseBlock(root.Keys, nullptr)) return false;
            roots.push_back(std::move(root));
        }
        return Error.empty();
    }

private:
    static HKEY RootKey(const std::wstring& name)
    {
        static const struct {
            const wchar_t* Short;
            const wchar_t* Long;
            HKEY Key;
        } roots[] = {
            {L"HKCR", L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
            {L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
            {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
            {L"HKU", L"HKEY_USERS", HKEY_USERS},
        };
        for (const auto& r : roots)
            if (_wcsicmp(name.c_str(), r.Short) == 0 || _wcsicmp(name.c_str(), r.Long) == 0) return r.Key;
        return nullptr;
    }

    // The entries of a block up to its closing brace: keys, and named
    // values of the key that owns the block.
    bool ParseBlock(std::vector<ScriptKey>& keys, ScriptKey* owner)
    {
        std::wstring token;
        bool quoted = false;
        for (;;) {
            if (!Next(token, quoted)) return false;
            if (!quoted && token == L"}") return true;
            if (!quoted && _wcsicmp(token.c_str(), L"val") == 0) {
                ScriptValue value;
                if (!owner || !Next(value.Name, quoted) || !Expect(L"=") || !ParseStringValue(value.Data)) return false;
                owner->Values.push_back(std::move(value));
                continue;
            }
            ScriptKey key;
            for (;;) {
                const bool noRemove = !quoted && _wcsicmp(token.c_str(), L"NoRemove") == 0;
                const bool forceRemove = !quoted && _wcsicmp(token.c_str(), L"ForceRemove") == 0;
                if (!noRemove && !forceRemove) break;
                (noRemove ? key.NoRemove : key.ForceRemove) = true;
                if (!Next(token, quoted)) return false;
            }
            if (!quoted && (token == L"{" || token == L"}" || token == L"=")) return false;
            key.Name = token;
            if (!ParseKeyRest(key)) return false;
            keys.push_back(std::move(key));
        }
    }

    // After a key's name: an optional default value, an optional block.
    bool ParseKeyRest(ScriptKey& key)
    {
        if (PeekIs(L"=")) {
            Skip();
            ScriptValue value;
            if (!ParseStringValue(value.Data)) return false;
            key.Values.push_back(std::move(value));
        }
        if (!PeekIs(L"{")) return true;
        Skip();
        return ParseBlock(key.Keys, &key);
    }

    bool ParseStringValue(std::wstring& data)
    {
        std::wstring type;
        bool quoted = false;
        if (!Next(type, quoted) || quoted || type != L"s") return false;
        return Next(data, quoted) && quoted;
    }

    bool Expect(const wchar_t* what)
    {
        std::wstring token;
        bool quoted = false;
        return Next(token, quoted) && !quoted && token == what;
    }

    bool PeekIs(const wchar_t* what)
    {
        const size_t mark = Pos;
        std::wstring token;
        bool quoted = false;
        const bool is = Next(token, quoted) && !quoted && token == what;
        Pos = mark;
        return is;
    }

    void Skip()
    {
        std::wstring token;
        bool quoted = false;
        Next(token, quoted);
    }

    // Tokens: 'quoted text' ('' inside is one quote), or a run of characters
    // up to white space. "{" alone opens a block; "{...}" is a name (a GUID).
    bool Next(std::wstring& token, bool& quoted)
    {
        token.clear();
        quoted = false;
        while (Pos < Text.size() && std::iswspace(Text[Pos])) ++Pos;
        if (Pos >= Text.size()) return false;
        if (Text[Pos] == L'\'') {
            quoted = true;
            for (++Pos; Pos < Text.size(); ++Pos) {
                if (Text[Pos] == L'\'') {
                    if (Pos + 1 < Text.size() && Text[Pos + 1] == L'\'') {
                        token += L'\'';
                        ++Pos;
                        continue;
                    }
                    ++Pos;
                    return true;
                }
                token += Text[Pos];
            }
            Error = L"unterminated text";
            return false;
        }
        while (Pos < Text.size() && !std::iswspace(Text[Pos])) token += Text[Pos++];
        return true;
    }

    const std::wstring& Text;
    size_t Pos = 0;
    std::wstring Error;
};

LONG WriteValue(HKEY key, const ScriptValue& value)
{
    return RegSetValueExW(key, value.Name.empty() ? nullptr : value.Name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.Data.c_str()),
                          static_cast<DWORD>((value.Data.size() + 1) * sizeof(wchar_t)));
}

bool Missing(LONG status)
{
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

LONG RegisterKeys(HKEY parent, const std::vector<ScriptKey>& keys)
{
    for (const ScriptKey& key : keys) {
        if (key.ForceRemove) {
            const LONG status = RegDeleteTreeW(parent, key.Name.c_str());
            if (status != ERROR_SUCCESS && !Missing(status)) return status;
        }
        CRegKey opened;
        LONG status = opened.Create(parent, key.Name.c_str(), KEY_READ | KEY_WRITE);
        if (status != ERROR_SUCCESS) return status;
        for (const ScriptValue& value : key.Values) {
            status = WriteValue(opened.Get(), value);
            if (status != ERROR_SUCCESS) return status;
        }
        status = RegisterKeys(opened.Get(), key.Keys);
        if (status != ERROR_SUCCESS) return status;
    }
    return ERROR_SUCCESS;
}

LONG UnregisterKeys(HKEY parent, const std::vector<ScriptKey>& keys)
{
    for (const ScriptKey& key : keys) {
        if (key.ForceRemove && !key.NoRemove) {
            const LONG status = RegDeleteTreeW(parent, key.Name.c_str());
            if (status != ERROR_SUCCESS && !Missing(status)) return status;
            continue;
        }
        CRegKey opened;
        LONG status = opened.Open(parent, key.Name.c_str(), KEY_READ | KEY_WRITE);
        if (Missing(status)) continue;
        if (status != ERROR_SUCCESS) return status;
        status = UnregisterKeys(opened.Get(), key.Keys);
        if (status != ERROR_SUCCESS) return status;
        if (key.NoRemove) continue;
        DWORD subkeys = 0;
        status = RegQueryInfoKeyW(opened.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) return status;
        opened.Close();
        if (subkeys == 0) {
            status = RegDeleteKeyW(parent, key.Name.c_str());
            if (status != ERROR_SUCCESS && !Missing(status)) return status;
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace

HRESULT RunRegistryScript(const std::wstring& script, bool doRegister, const std::vector<Replacement>& replacements)
{
    std::wstring text;
    const size_t start = !script.empty() && script[0] == 0xFEFF ? 1 : 0;  // byte-order mark
    if (!Substitute(script.substr(start), replacements, text)) return BadScript;
    std::vector<ScriptRoot> roots;
    if (!Parser(text).Parse(roots)) return BadScript;
    for (const ScriptRoot& root : roots) {
        const LONG status = doRegister ? RegisterKeys(root.Root, root.Keys) : UnregisterKeys(root.Root, root.Keys);
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

HRESULT RunRegistryResource(HMODULE module, UINT id, bool doRegister, const std::vector<Replacement>& replacements)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
    if (!found) return HRESULT_FROM_WIN32(GetLastError());
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return HRESULT_FROM_WIN32(GetLastError());
    std::wstring script;
    if (size > 0) {
        const int n = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), nullptr, 0);
        if (n <= 0) return BadScript;
        script.resize(static_cast<size_t>(n));
        MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), &script[0], n);
    }
    return RunRegistryScript(script, doRegister, replacements);
}

}  // namespace com
