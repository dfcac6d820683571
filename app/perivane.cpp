#include "app/perivane.h"

#include <cstdlib>
#include <exception>

#include "app/AppUnits.h"
#include "app/FrmMain.h"
#include "app/loadwait.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"

const std::string IniFileName = "perivane.ini";
std::string ExeDir;
TScreenInfo ScreenInfo;
TFormMain* FormMain = nullptr;

TScreenInfo ScreenInfoFromDC(HDC dc) {
  TScreenInfo info;
  if (!dc) return info;
  // Through the depth seam (planes x bits per pixel, the same product), so
  // that tests can stand on a display of another depth.
  info.ColorDepth = static_cast<uint16_t>(Seams().DisplayBitsPerPixel());
  info.HorzRes = static_cast<uint16_t>(GetDeviceCaps(dc, HORZRES));
  info.VertRes = GetDeviceCaps(dc, VERTRES);
  return info;
}

TScreenInfo ProbeScreen() {
  HDC dc = GetDC(nullptr);
  ScreenInfo = ScreenInfoFromDC(dc);
  if (dc) ReleaseDC(nullptr, dc);
  return ScreenInfo;
}

DWORD SplashHold() {
#if defined(PERIVANE_CHECKED)
  // The end-to-end tests start the program as a process, where no seam of
  // theirs reaches: they name the hold in the environment. Only the checked
  // build (the tests' build) reads it; the shipped program always holds.
  char text[16] = {};
  const DWORD length = GetEnvironmentVariableA("PERIVANE_SPLASH_HOLD_MS", text, sizeof(text));
  if (length > 0 && length < sizeof(text)) {
    char* end = nullptr;
    const unsigned long ms = std::strtoul(text, &end, 10);
    if (end != text && *end == '\0' && ms <= SplashHoldMs) return static_cast<DWORD>(ms);
  }
#endif
  return SplashHoldMs;
}

int PerivaneMain() {
  ProbeScreen();
  // Created owned; a second copy finds it and leaves without a word. The
  // handle is not closed: the system closes it when the process ends, and
  // the first copy owns it until then.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, MutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  ExeDir = ExtractFilePath(Application->GetExeName());
  try {
    auto* splash = New<TFormLoadwait>(Application);
    splash->Show();
    splash->Update();
    Application->Initialize();
    Application->CreateForm(TFormMain::StaticClass(), FormMain);
    splash->Update();
    Seams().Sleep(SplashHold());
    splash->Hide();
    splash->Free();
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  } catch (...) {
    Application->ShowException(Exception(""));
  }
  if (mutex) ReleaseMutex(mutex);
  return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitializeUnits(AppUnits());
  int code = PerivaneMain();
  FinalizeUnits();
  return code;
}
