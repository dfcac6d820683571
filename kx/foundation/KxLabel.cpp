#include "kx/foundation/KxLabel.h"

#include "classlib/graphics/Resources.h"

HCURSOR CreateKxHandCursor() {
  // Kept as the image of a cursor resource in RCDATA (resources/KxCommon.rc
  // says why), so it is made here as LoadCursor would make it.
  HINSTANCE module = FindResourceHInstance(MainInstance());
  HRSRC info = FindResourceA(module, "KXCOMMON_HANDCURSOR", RT_RCDATA);
  if (!info) return nullptr;
  HGLOBAL data = LoadResource(module, info);
  DWORD size = SizeofResource(module, info);
  if (!data || !size) return nullptr;
  auto* bits = static_cast<BYTE*>(LockResource(data));
  return reinterpret_cast<HCURSOR>(
      CreateIconFromResourceEx(bits, size, FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR | LR_DEFAULTSIZE));
}
