#include "kx/foundation/KxUxTheme.h"

#include <memory>

#include "classlib/SyncObjs.h"

namespace KxUxTheme {

#define KX_UXTHEME_DEFINE(Ret, Name, Params) Name##Proc Name = nullptr;
KX_UXTHEME_ENTRY_POINTS(KX_UXTHEME_DEFINE)
#undef KX_UXTHEME_DEFINE

namespace {

struct TEntryPoint {
  const char* Name;
  void (*Bind)(FARPROC);
  bool (*Bound)();
};

#define KX_UXTHEME_TABLE(Ret, Name, Params) \
  {#Name, [](FARPROC p) { Name = FunctionCast<Name##Proc>(p); }, [] { return Name != nullptr; }},
const TEntryPoint kEntryPoints[] = {KX_UXTHEME_ENTRY_POINTS(KX_UXTHEME_TABLE)};
#undef KX_UXTHEME_TABLE

constexpr int kEntryPointCount = static_cast<int>(sizeof kEntryPoints / sizeof kEntryPoints[0]);
static_assert(kEntryPointCount == 47);

}  // namespace

int EntryPointCount() { return kEntryPointCount; }
const char* EntryPointName(int index) { return kEntryPoints[index].Name; }
bool EntryPointBound(int index) { return kEntryPoints[index].Bound(); }

}  // namespace KxUxTheme

namespace {

// The module's state: the library, its reference count and the lock that
// guards both (the only lock of the system).
HMODULE library = nullptr;
int references = 0;
TCriticalSection* lock = nullptr;

class TLockScope {
 public:
  TLockScope() {
    if (lock) lock->Enter();
  }
  ~TLockScope() {
    if (lock) lock->Leave();
  }
  TLockScope(const TLockScope&) = delete;
  TLockScope& operator=(const TLockScope&) = delete;
};

}  // namespace

bool InitThemeLibrary() {
  TLockScope scope;
  ++references;
  if (library) return true;
  library = LoadLibraryA("uxtheme.dll");
  if (library) {
    for (const auto& e : KxUxTheme::kEntryPoints) e.Bind(GetProcAddress(library, e.Name));
  }
  return library != nullptr;
}

void FreeThemeLibrary() {
  TLockScope scope;
  if (references > 0) --references;
  if (library && references == 0) {
    FreeLibrary(library);
    library = nullptr;
    for (const auto& e : KxUxTheme::kEntryPoints) e.Bind(nullptr);
  }
}

bool UseThemes() {
  return library && KxUxTheme::IsAppThemed && KxUxTheme::IsThemeActive && KxUxTheme::IsAppThemed() &&
         KxUxTheme::IsThemeActive();
}

HMODULE ThemeLibrary() { return library; }

void InitializeKxUxTheme() {
  if (!lock) lock = New<TCriticalSection>();
}

void FinalizeKxUxTheme() {
  while (references > 0) FreeThemeLibrary();
  FreeAndNil(lock);
}
