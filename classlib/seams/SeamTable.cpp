#include "classlib/seams/SeamTable.h"

#include <shellapi.h>

TSeams& Seams() {
  static TSeams seams = [] {
    TSeams s;
    s.DisplayBitsPerPixel = [] {
      HDC dc = GetDC(nullptr);
      int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
      ReleaseDC(nullptr, dc);
      return bits;
    };
    s.TickCount = [] { return GetTickCount(); };
    s.Sleep = [](DWORD ms) { ::Sleep(ms); };
    s.LocalTime = [](SYSTEMTIME& t) { GetLocalTime(&t); };
    s.SetTimer = [](HWND w, UINT_PTR id, UINT ms) { return ::SetTimer(w, id, ms, nullptr); };
    s.KillTimer = [](HWND w, UINT_PTR id) { return ::KillTimer(w, id); };
    s.GetCursorPos = [](POINT& p) { return ::GetCursorPos(&p); };
    s.SetCursorPos = [](int x, int y) { return ::SetCursorPos(x, y); };
    s.MessageBox = [](HWND w, const std::string& text, const std::string& caption, UINT flags) {
      return ::MessageBoxA(w, text.c_str(), caption.c_str(), flags);
    };
    s.MessageBoxW = [](HWND w, const std::wstring& text, const std::wstring& caption, UINT flags) {
      return ::MessageBoxW(w, text.c_str(), caption.c_str(), flags);
    };
    s.ShellExecute = [](HWND w, const char* verb, const char* file, const char* params,
                        const char* dir, int show) {
      return ::ShellExecuteA(w, verb, file, params, dir, show);
    };
    s.ShellExecuteW = [](HWND w, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                         const wchar_t* dir, int show) {
      return ::ShellExecuteW(w, verb, file, params, dir, show);
    };
    s.ShellExecuteEx = [](SHELLEXECUTEINFOA* info) { return ::ShellExecuteExA(info); };
    s.WinExec = [](const char* commandLine, UINT show) { return ::WinExec(commandLine, show); };
    s.GdiFlush = [] { return ::GdiFlush(); };
    s.MapVirtualKeyW = [](UINT code, UINT mapType) { return ::MapVirtualKeyW(code, mapType); };
    return s;
  }();
  return seams;
}
