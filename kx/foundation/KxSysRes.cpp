#include "kx/foundation/KxSysRes.h"

#include "classlib/SysUtils.h"
#include "classlib/Win.h"

namespace {

// Loaded on first use on Windows 9x and kept for the process.
HMODULE library = nullptr;
bool tried = false;
using TGetFreeSystemResources = int(WINAPI*)(int);
TGetFreeSystemResources entry = nullptr;

}  // namespace

int GetFreeSystemResources(TFreeSystemResources kind) {
  if (Win32Platform != VER_PLATFORM_WIN32_WINDOWS) return 0;
  if (!tried) {
    tried = true;
    library = LoadLibraryA("RSRC32.DLL");
    if (library) entry = FunctionCast<TGetFreeSystemResources>(GetProcAddress(library, "_MyGetFreeSystemResources32@4"));
  }
  return entry ? entry(static_cast<int>(kind)) : 0;
}

bool SystemResourcesLibraryLoaded() { return library != nullptr; }

void FinalizeKxSysRes() {
  if (library) FreeLibrary(library);
  library = nullptr;
  entry = nullptr;
  tried = false;
}
