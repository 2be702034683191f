#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Registry scripts in the registrar's format:
//
//   HKCR
//   {
//       Name.1 = s 'text'
//       {
//           CLSID = s '{...}'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove {...} = s 'text'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Registering creates every key and writes its values; a ForceRemove key is
// first deleted with its subtree. Unregistering deletes every key the script
// names, except NoRemove keys and keys still holding subkeys the script does
// not name; a ForceRemove key goes with its whole subtree. Values are strings
// (s). %NAME% is replaced before parsing, %% stands for %.
namespace com {

struct Replacement {
    std::wstring Name;
    std::wstring Value;
};

HRESULT RunRegistryScript(const std::wstring& script, bool doRegister, const std::vector<Replacement>& replacements);

// Runs the resource of type "REGISTRY" (UTF-8 text) of a module.
HRESULT RunRegistryResource(HMODULE module, UINT id, bool doRegister, const std::vector<Replacement>& replacements);

}  // namespace com
