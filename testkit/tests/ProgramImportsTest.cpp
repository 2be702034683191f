// The DLLs the three programs import, read from their PE files: each one must
// be a known DLL, which Windows always maps from System32.  Any other name is
// looked for in the program's folder first, where a planted DLL of that name
// would run inside the (for the installer, elevated) program before its code.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The known DLLs of every Windows from 7 on, and ntdll, which is always
// loaded from System32.
const char* const kKnownDlls[] = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll",  "imagehlp.dll",
    "imm32.dll",    "kernel32.dll", "msctf.dll",   "msvcrt.dll",  "normaliz.dll", "nsi.dll",
    "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "psapi.dll",  "rpcrt4.dll", "sechost.dll",
    "setupapi.dll", "shell32.dll",  "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll"};

// The programs, relative to a build tree.
const wchar_t* const kPrograms[] = {L"calbrique\\Calbrique.dll", L"fenwold\\Fenwold.exe",
                                    L"quenlath\\installer\\Dravelin.exe"};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return text;
}

// The names in a PE file's import and delay-import tables; false (with what
// was wrong) when the file can't be read as a PE file.
class PeImports {
 public:
  explicit PeImports(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    m_bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (m_bytes.empty()) m_error = "can't be read";
  }

  bool Read(std::vector<std::string>& names) {
    const auto* dos = At<IMAGE_DOS_HEADER>(0);
    const auto* nt = dos ? At<IMAGE_NT_HEADERS32>(dos->e_lfanew) : nullptr;
    if (!nt || dos->e_magic != IMAGE_DOS_SIGNATURE || nt->Signature != IMAGE_NT_SIGNATURE) return Fail("not a PE file");
    const size_t options = dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader);
    const IMAGE_DATA_DIRECTORY* directories = nullptr;
    ULONGLONG imageBase = 0;
    if (nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
      const auto* header = At<IMAGE_OPTIONAL_HEADER64>(options);
      directories = header ? header->DataDirectory : nullptr;
      imageBase = header ? header->ImageBase : 0;
    } else {
      directories = nt->OptionalHeader.DataDirectory;
      imageBase = nt->OptionalHeader.ImageBase;
    }
    m_sections = At<IMAGE_SECTION_HEADER>(options + nt->FileHeader.SizeOfOptionalHeader,
                                          nt->FileHeader.NumberOfSections);
    if (!directories || !m_sections) return Fail("headers cut short");
    m_sectionCount = nt->FileHeader.NumberOfSections;

    for (DWORD rva = directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress; rva; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto* entry = AtRva<IMAGE_IMPORT_DESCRIPTOR>(rva);
      if (!entry) return Fail("import table cut short");
      if (!entry->Name) break;
      if (!Name(entry->Name, names)) return false;
    }
    for (DWORD rva = directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress; rva;
         rva += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
      const auto* entry = AtRva<IMAGE_DELAYLOAD_DESCRIPTOR>(rva);
      if (!entry) return Fail("delay-import table cut short");
      if (!entry->DllNameRVA) break;
      // Old-style entries hold addresses, not RVAs.
      const DWORD name = entry->Attributes.RvaBased ? entry->DllNameRVA
                                                    : static_cast<DWORD>(entry->DllNameRVA - imageBase);
      if (!Name(name, names)) return false;
    }
    return true;
  }
  const std::string& Error() const { return m_error; }

 private:
  template <class T>
  const T* At(size_t offset, size_t count = 1) const {
    if (offset > m_bytes.size() || count * sizeof(T) > m_bytes.size() - offset) return nullptr;
    return reinterpret_cast<const T*>(m_bytes.data() + offset);
  }
  // The file offset of an RVA, or SIZE_MAX when no section holds it.
  size_t Offset(DWORD rva) const {
    for (WORD i = 0; i < m_sectionCount; ++i) {
      const IMAGE_SECTION_HEADER& s = m_sections[i];
      if (rva >= s.VirtualAddress && rva - s.VirtualAddress < std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return s.PointerToRawData + (rva - s.VirtualAddress);
    }
    return SIZE_MAX;
  }
  template <class T>
  const T* AtRva(DWORD rva) const {
    return At<T>(Offset(rva));
  }
  bool Name(DWORD rva, std::vector<std::string>& names) {
    const size_t offset = Offset(rva);
    const char* start = At<char>(offset);
    const void* end = start ? std::memchr(start, 0, m_bytes.size() - offset) : nullptr;
    if (!end) return Fail("a DLL name outside the file");
    names.emplace_back(start, static_cast<const char*>(end));
    return true;
  }
  bool Fail(const char* error) {
    m_error = error;
    return false;
  }

  std::vector<char> m_bytes;
  const IMAGE_SECTION_HEADER* m_sections = nullptr;
  WORD m_sectionCount = 0;
  std::string m_error;
};

// Whether the program's manifest asks for the side-by-side common controls,
// which then come from the system's side-by-side store, not the search path.
bool ManifestNamesCommonControls(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return false;
  bool names = false;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(text ? text : "", text ? SizeofResource(module, found) : 0);
    names = manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos;
  }
  FreeLibrary(module);
  return names;
}

void ExpectOnlyKnownDlls(const std::wstring& buildTree) {
  for (const wchar_t* program : kPrograms) {
    const std::wstring path = buildTree + L"\\" + program;
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    PeImports pe(path);
    std::vector<std::string> names;
    ASSERT_TRUE(pe.Read(names)) << pe.Error();
    EXPECT_FALSE(names.empty());
    for (const std::string& name : names) {
      const std::string lower = Lower(name);
      const bool known = std::find(std::begin(kKnownDlls), std::end(kKnownDlls), lower) != std::end(kKnownDlls);
      EXPECT_TRUE(known || (lower == "comctl32.dll" && ManifestNamesCommonControls(path))) << name;
    }
  }
}

TEST(ProgramImports, OnlyKnownDllsInTheX86_64Build) { ExpectOnlyKnownDlls(X86_64_BUILD_TREE); }

TEST(ProgramImports, OnlyKnownDllsInTheI686Build) {
  if (GetFileAttributesW(I686_BUILD_TREE) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no i686 build beside this one";
  ExpectOnlyKnownDlls(I686_BUILD_TREE);
}

}  // namespace
