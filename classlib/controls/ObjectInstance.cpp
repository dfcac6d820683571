#include "classlib/controls/ObjectInstance.h"

#include <cstring>
#include <mutex>
#include <new>

#include "classlib/SysUtils.h"

namespace {

struct TObjectInstance {
  unsigned char Code[24];  // 22 bytes used; keeps the method aligned
  TWndMethod Method;
  TObjectInstance* Next;   // free list
};

constexpr size_t kBlockSize = 4096;
const char kUtilWindowClass[] = "TPUtilWindow";

LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The thunk put its record where the window handle was.
  auto* instance = reinterpret_cast<TObjectInstance*>(window);
  TWndMethod method = instance->Method;
  TMessage message{msg, wParam, lParam, 0};
  method(message);
  return message.Result;
}

struct TInstancePool {
  std::mutex Lock;
  TObjectInstance* Free = nullptr;

  TObjectInstance* Take() {
    if (!Free) Grow();
    TObjectInstance* inst = Free;
    Free = inst->Next;
    return inst;
  }
  void Grow() {
    // Blocks live as long as the process: a window may still hold a freed
    // thunk's address for a moment, and the platform never gives them back.
    void* block = VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!block) throw EOutOfResources("Out of system resources");
    auto* first = static_cast<TObjectInstance*>(block);
    size_t count = kBlockSize / sizeof(TObjectInstance);
    for (size_t i = 0; i < count; ++i) {
      auto* inst = new (first + i) TObjectInstance{};
      inst->Next = Free;
      Free = inst;
    }
  }
};

TInstancePool& Pool() {
  static TInstancePool pool;
  return pool;
}

void WriteThunk(TObjectInstance* inst) {
  unsigned char* c = inst->Code;
  uint64_t self = reinterpret_cast<uint64_t>(inst);
  uint64_t target = reinterpret_cast<uint64_t>(&StdWndProc);
  c[0] = 0x48; c[1] = 0xB9;  // mov rcx, imm64
  std::memcpy(c + 2, &self, 8);
  c[10] = 0x48; c[11] = 0xB8;  // mov rax, imm64
  std::memcpy(c + 12, &target, 8);
  c[20] = 0xFF; c[21] = 0xE0;  // jmp rax
  c[22] = 0xCC; c[23] = 0xCC;
  FlushInstructionCache(GetCurrentProcess(), c, sizeof inst->Code);
}

}  // namespace

WNDPROC MakeObjectInstance(const TWndMethod& method) {
  TInstancePool& pool = Pool();
  std::lock_guard<std::mutex> guard(pool.Lock);
  TObjectInstance* inst = pool.Take();
  inst->Method = method;
  WriteThunk(inst);
  return FunctionCast<WNDPROC>(static_cast<void*>(inst->Code));
}

void FreeObjectInstance(WNDPROC instance) {
  if (!instance) return;
  TInstancePool& pool = Pool();
  std::lock_guard<std::mutex> guard(pool.Lock);
  auto* inst = reinterpret_cast<TObjectInstance*>(FunctionCast<void*>(instance));
  inst->Method = TWndMethod();
  inst->Next = pool.Free;
  pool.Free = inst;
}

HWND AllocateHWnd(const TWndMethod& method) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance, kUtilWindowClass, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kUtilWindowClass;
    if (!RegisterClassA(&wc)) RaiseLastOSError();
  }
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  if (!window) RaiseLastOSError();
  if (method) {
    WNDPROC thunk = nullptr;
    try {
      thunk = MakeObjectInstance(method);
    } catch (...) {
      DestroyWindow(window);
      throw;
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk));
  }
  return window;
}

void DeallocateHWnd(HWND window) {
  if (!window) return;
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  DestroyWindow(window);
  if (proc != &DefWindowProcA) FreeObjectInstance(proc);
}
