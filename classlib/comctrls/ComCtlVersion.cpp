#include "classlib/comctrls/ComCtlVersion.h"

#include <cwchar>
#include <vector>

#include "classlib/Win.h"

#include <shlwapi.h>

namespace {

// "major.minor" of the version="a.b.c.d" attribute of an encoded assembly
// identity, or 0.
uint32_t VersionOfIdentity(const wchar_t* identity) {
  if (!identity) return 0;
  const wchar_t* v = std::wcsstr(identity, L"version=\"");
  if (!v) return 0;
  unsigned major = 0, minor = 0;
  if (std::swscanf(v + 9, L"%u.%u", &major, &minor) != 2) return 0;
  return (static_cast<uint32_t>(major & 0xFFFF) << 16) | (minor & 0xFFFF);
}

// The version of the assembly the activation context redirects comctl32.dll
// to. Wine's comctl32 gives 5.81 from DllGetVersion and its version resource
// even when loaded as the version 6 assembly, whose controls draw themed;
// the assembly's identity is the one number that agrees on both systems.
uint32_t RedirectedVersion() {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  if (!FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data))
    return 0;
  uint32_t version = 0;
  DWORD index = data.ulAssemblyRosterIndex;
  SIZE_T needed = 0;
  QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext, nullptr, 0,
               &needed);
  if (needed) {
    std::vector<unsigned char> buffer(needed);
    if (QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext,
                     buffer.data(), buffer.size(), &needed)) {
      auto* info = reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
      version = VersionOfIdentity(info->lpAssemblyEncodedAssemblyIdentity);
    }
  }
  if (data.hActCtx) ReleaseActCtx(data.hActCtx);
  return version;
}

uint32_t LibraryVersion() {
  HMODULE module = LoadLibraryA("comctl32.dll");
  if (!module) return 0;
  uint32_t version = 0;
  auto getVersion = FunctionCast<DLLGETVERSIONPROC>(GetProcAddress(module, "DllGetVersion"));
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (getVersion && SUCCEEDED(getVersion(&info)))
    version = (static_cast<uint32_t>(info.dwMajorVersion & 0xFFFF) << 16) | (info.dwMinorVersion & 0xFFFF);
  FreeLibrary(module);
  return version;
}

}  // namespace

uint32_t GetComCtlVersion() {
  if (uint32_t v = RedirectedVersion()) return v;
  return LibraryVersion();
}
