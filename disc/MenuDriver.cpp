#include "disc/MenuDriver.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace menu_driver {

namespace {

// The caller's environment block with extra entries added (later entries
// win for the same name in Windows' lookup order only when sorted, so the
// caller's entry of the same name is dropped).
std::vector<char> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> entries;
  char* block = GetEnvironmentStringsA();
  for (const char* p = block; *p; p += strlen(p) + 1) {
    std::string entry = p;
    bool replaced = false;
    for (const std::string& e : extra) {
      const size_t eq = e.find('=');
      if (eq != std::string::npos && _strnicmp(entry.c_str(), e.c_str(), eq + 1) == 0) replaced = true;
    }
    if (!replaced) entries.push_back(entry);
  }
  FreeEnvironmentStringsA(block);
  entries.insert(entries.end(), extra.begin(), extra.end());
  std::vector<char> out;
  for (const std::string& e : entries) out.insert(out.end(), e.c_str(), e.c_str() + e.size() + 1);
  out.push_back('\0');
  return out;
}

struct TFind {
  DWORD Pid;
  std::string ClassName;
  bool VisibleOnly;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<TFind*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != find->Pid) return TRUE;
  if (find->VisibleOnly && !IsWindowVisible(window)) return TRUE;
  if (!find->ClassName.empty() && ClassOf(window) != find->ClassName) return TRUE;
  find->Found.push_back(window);
  return TRUE;
}

void SendMouse(DWORD flags, int x, int y) {
  // Absolute coordinates are in 0..65535 over the primary screen.
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65536 + w / 2) / w);
  input.mi.dy = static_cast<LONG>((y * 65536 + h / 2) / h);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

TProcess::TProcess(const std::string& exe, const std::string& dir, const std::vector<std::string>& extraEnv,
                   const std::string& arguments) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> env = Environment(extraEnv);
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, env.data(), dir.c_str(),
                      &startup, &info))
    throw std::runtime_error("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
}

TProcess::~TProcess() {
  if (!process_) return;
  Kill();
  CloseHandle(process_);
}

TProcess::TProcess(TProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

TProcess& TProcess::operator=(TProcess&& other) noexcept {
  std::swap(process_, other.process_);
  std::swap(pid_, other.pid_);
  return *this;
}

bool TProcess::WaitExit(DWORD ms, DWORD& code) {
  if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(process_, &code);
  return true;
}

bool TProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void TProcess::Kill() {
  if (Running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
}

DWORD Now() { return GetTickCount(); }

bool WaitUntil(const std::function<bool()>& condition, DWORD ms, HANDLE process) {
  const DWORD start = Now();
  for (;;) {
    if (condition()) return true;
    if (Now() - start >= ms) return condition();
    // A wait on the process ends early when it dies; without one, the
    // scheduler's tick.
    if (process) {
      if (WaitForSingleObject(process, 15) == WAIT_OBJECT_0) return condition();
    } else {
      SwitchToThread();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }
  }
}

HWND FindProcessWindow(DWORD pid, const std::string& className, bool visibleOnly) {
  TFind find{pid, className, visibleOnly, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&find));
  return find.Found.empty() ? nullptr : find.Found.front();
}

std::vector<HWND> ProcessWindows(DWORD pid) {
  TFind find{pid, "", false, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
  struct TChildFind {
    std::string ClassName, Text;
    HWND Found = nullptr;
  } find{className, text};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* f = reinterpret_cast<TChildFind*>(param);
        if (ClassOf(window) == f->ClassName && (f->Text.empty() || WindowText(window) == f->Text)) {
          f->Found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

std::vector<HWND> ChildWindows(HWND parent, const std::string& className) {
  struct TChildren {
    std::string ClassName;
    std::vector<HWND> Found;
  } find{className, {}};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* f = reinterpret_cast<TChildren*>(param);
        if (ClassOf(window) == f->ClassName) f->Found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

RECT RectIn(HWND child, HWND form) {
  RECT r = ScreenRect(child);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND FindDialog(DWORD pid, const std::string& title) {
  TFind find{pid, "#32770", true, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&find));
  for (HWND box : find.Found)
    if (WindowText(box) == title) return box;
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  // The message is the one static control with text (the icon's has none).
  for (HWND child : ChildWindows(box, "Static")) {
    std::string text = WindowText(child);
    if (!text.empty()) return text;
  }
  return "";
}

std::string WindowText(HWND window) {
  // For another process's window GetWindowText reads the text the system
  // keeps, without a message: the menu's thread may be busy (its splash
  // holds it for a while).
  char text[512] = {};
  const int length = GetWindowTextA(window, text, sizeof(text));
  return std::string(text, length > 0 ? length : 0);
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

void Activate(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
}

void MoveMouse(int x, int y) { SendMouse(0, x, y); }

void Click(int x, int y) {
  SendMouse(0, x, y);
  SendMouse(MOUSEEVENTF_LEFTDOWN, x, y);
  SendMouse(MOUSEEVENTF_LEFTUP, x, y);
}

void ClickIn(HWND form, POINT at) {
  Activate(form);
  ClientToScreen(form, &at);
  Click(at.x, at.y);
}

HWND DropList(HWND form, POINT selector, const std::string& listClass, DWORD ms, HANDLE process) {
  ClickIn(form, selector);
  HWND list = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> lists = ChildWindows(form, listClass);
        list = lists.empty() ? nullptr : lists.front();
        return list && IsWindowVisible(list);
      },
      ms, process);
  return list && IsWindowVisible(list) ? list : nullptr;
}

POINT ListRow(HWND list, int index) {
  // Messages without pointers: they cross into the other process as they are.
  const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  POINT p{40, (index - top) * height + height / 2};
  ClientToScreen(list, &p);
  return p;
}

std::string PickRow(HWND form, POINT selector, const std::string& listClass, int index, DWORD ms, HANDLE process) {
  HWND list = DropList(form, selector, listClass, ms, process);
  if (!list) return "the list did not drop";
  const int rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (index < 0 || index >= rows)
    return "the list has " + std::to_string(rows) + " rows, no row " + std::to_string(index + 1);
  // A row below the list's window is scrolled up into it, as a user would.
  RECT client{};
  GetClientRect(list, &client);
  const int height = std::max(1, static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)));
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || (index - top + 1) * height > client.bottom) SendMessageA(list, LB_SETTOPINDEX, index, 0);
  WaitPainted(form, ms, process);
  const POINT at = ListRow(list, index);
  Click(at.x, at.y);
  if (!WaitUntil([&] { return !IsWindowVisible(list); }, ms, process)) return "the list did not close";
  if (SendMessageA(list, LB_GETCURSEL, 0, 0) != index) return "row " + std::to_string(index + 1) + " was not picked";
  return "";
}

TShot CaptureScreen(const RECT& rect) {
  TShot shot;
  shot.Width = rect.right - rect.left;
  shot.Height = rect.bottom - rect.top;
  if (shot.Width <= 0 || shot.Height <= 0) return shot;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = shot.Width;
  info.bmiHeader.biHeight = -shot.Height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, shot.Width, shot.Height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  shot.Pixels.assign(p, p + static_cast<size_t>(shot.Width) * shot.Height);
  for (uint32_t& px : shot.Pixels) px &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

TShot CaptureScreen() {
  return CaptureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

bool SaveBmp(const TShot& shot, const std::string& file) {
  const int stride = (shot.Width * 3 + 3) & ~3;
  const DWORD imageSize = static_cast<DWORD>(stride) * shot.Height;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + imageSize;
  ih.biSize = sizeof(ih);
  ih.biWidth = shot.Width;
  ih.biHeight = shot.Height;  // bottom-up
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = imageSize;
  std::vector<uint8_t> data(imageSize);
  for (int y = 0; y < shot.Height; ++y) {
    uint8_t* row = data.data() + static_cast<size_t>(shot.Height - 1 - y) * stride;
    for (int x = 0; x < shot.Width; ++x) {
      const uint32_t p = shot.At(x, y);
      row[x * 3] = static_cast<uint8_t>(p);
      row[x * 3 + 1] = static_cast<uint8_t>(p >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(p >> 16);
    }
  }
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, &fh, sizeof(fh), &written, nullptr) && WriteFile(h, &ih, sizeof(ih), &written, nullptr) &&
            WriteFile(h, data.data(), imageSize, &written, nullptr) && written == imageSize;
  CloseHandle(h);
  return ok;
}

bool WaitPainted(HWND window, DWORD ms, HANDLE process) {
  // Across threads, RDW_UPDATENOW sends the paint and waits for it; the
  // WM_NULL round trip drains what the paint posted.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result)) return false;
  TShot last = CaptureScreen(ScreenRect(window));
  return WaitUntil(
      [&] {
        TShot now = CaptureScreen(ScreenRect(window));
        const bool same = now.Pixels == last.Pixels;
        last = std::move(now);
        return same;
      },
      ms, process);
}

std::vector<RECT> WindowRegionRects(HWND window) {
  std::vector<RECT> rects;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) != ERROR) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size && GetRegionData(region, size, data)) {
      const auto* r = reinterpret_cast<const RECT*>(data->Buffer);
      rects.assign(r, r + data->rdh.nCount);
    }
  }
  DeleteObject(region);
  return rects;
}

}  // namespace menu_driver
