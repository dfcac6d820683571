#include "unicode/VoxGraphics.h"

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxWindows.h"

TSize WideDCTextExtent(HDC dc, const std::wstring& text) {
  SIZE size{0, 0};
  if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return TSize{size.cx, size.cy};
}

TSize WideCanvasTextExtent(TCanvas* canvas, const std::wstring& text) {
  canvas->RequiredState({csHandleValid, csFontValid});
  return WideDCTextExtent(CanvasDC(canvas, {csHandleValid, csFontValid}), text);
}

int WideCanvasTextWidth(TCanvas* canvas, const std::wstring& text) { return WideCanvasTextExtent(canvas, text).cx; }
int WideCanvasTextHeight(TCanvas* canvas, const std::wstring& text) { return WideCanvasTextExtent(canvas, text).cy; }

void WideCanvasTextOut(TCanvas* canvas, int x, int y, const std::wstring& text) {
  canvas->Changing();
  canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC dc = CanvasDC(canvas, {csHandleValid, csFontValid, csBrushValid});
  const int width = WideDCTextExtent(dc, text).cx;
  if (canvas->GetCanvasOrientation() == coRightToLeft) x += width + 1;
  Vox_ExtTextOutW(dc, x, y, static_cast<UINT>(canvas->GetTextFlags()), nullptr, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
  canvas->MoveTo(x + width, y);
  canvas->Changed();
}

void WideCanvasTextRect(TCanvas* canvas, const TRect& rect, int x, int y, const std::wstring& text) {
  canvas->Changing();
  canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC dc = CanvasDC(canvas, {csHandleValid, csFontValid, csBrushValid});
  UINT options = static_cast<UINT>(canvas->GetTextFlags()) | ETO_CLIPPED;
  if (canvas->GetBrush()->GetStyle() != bsClear) options |= ETO_OPAQUE;
  if ((canvas->GetTextFlags() & ETO_RTLREADING) && canvas->GetCanvasOrientation() == coRightToLeft)
    x += WideDCTextExtent(dc, text).cx + 1;
  RECT r = rect;
  Vox_ExtTextOutW(dc, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  canvas->Changed();
}

// --- TVoxPicture ------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxPicture)

namespace {

// The ANSI name the class library's loaders can open: the short name of an
// existing file, else the name itself (whose failure they then report).
std::string AnsiPathOf(const std::wstring& fileName) {
  std::wstring shortName = WideExtractShortPathName(fileName);
  return WideToAnsi(shortName.empty() ? fileName : shortName);
}

bool PathExists(const std::wstring& name) { return Vox_GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A name in folder not yet taken: the folder, a random number, the extension.
std::wstring FreeName(const std::wstring& folder, const std::wstring& ext) {
  std::wstring name;
  do name = folder + std::to_wstring(Random(2147483647)) + ext;
  while (PathExists(name));
  return name;
}

// Puts the complete file source in target's place. The wide platform
// replaces in one step; the old family has no such call, so there the old
// target is moved aside first and moved back when the new file cannot take
// its place.
void ReplaceFile(const std::wstring& source, const std::wstring& target) {
  if (Win32PlatformIsUnicode) {
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      RaiseLastOSError();
    return;
  }
  std::wstring aside;
  const DWORD attributes = Vox_GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // A folder is not a file to replace, as the one-step replace says too.
    SetLastError(ERROR_ACCESS_DENIED);
    RaiseLastOSError();
  }
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    aside = FreeName(WideExtractFilePath(target), L".old");
    if (!Vox_MoveFileW(target.c_str(), aside.c_str())) RaiseLastOSError();
  }
  if (!Vox_MoveFileW(source.c_str(), target.c_str())) {
    DWORD error = GetLastError();
    if (!aside.empty()) Vox_MoveFileW(aside.c_str(), target.c_str());
    RaiseLastOSError(error);
  }
  if (!aside.empty()) Vox_DeleteFileW(aside.c_str());
}

}  // namespace

void TVoxPicture::LoadFromFile(const std::wstring& fileName) { TPicture::LoadFromFile(AnsiPathOf(fileName)); }

void TVoxPicture::SaveToFile(const std::wstring& fileName) {
  TGraphic* graphic = GetGraphic();
  if (!graphic) return;
  const std::wstring temp = FreeName(WideExtractFilePath(fileName), WideExtractFileExt(fileName));
  // Made empty first so that it has a short name the ANSI saver can open.
  HANDLE h = WideFileCreate(temp);
  if (h == INVALID_HANDLE_VALUE) RaiseLastOSError();
  CloseHandle(h);
  // A save that fails leaves no temporary file behind.
  TRollback removeTemp([&temp] { Vox_DeleteFileW(temp.c_str()); });
  graphic->SaveToFile(AnsiPathOf(temp));
  ReplaceFile(temp, fileName);
  removeTemp.Commit();
}
