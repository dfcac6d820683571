#include "classlib/controls/ObjectInstance.h"

#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/controls/ControlsHooks.h"

namespace {

struct TObjectInstance {
  unsigned char Code[24];  // 22 bytes used; keeps the rest aligned
  TWndMethod Method;       // empty once the record is freed
  HWND Window;             // the window of the last message through it
  TObjectInstance* Next;   // free list
};

constexpr size_t kBlockSize = 4096;
const char kUtilWindowClass[] = "TPUtilWindow";

}  // namespace

// The thunk keeps the window procedure's four arguments where the caller
// put them and adds its record in R10 (a scratch register the calling
// convention leaves free); this entry passes the record on as a fifth
// argument. It is the only code with a frame on the way in, and it is not
// in the record, so a method may still free its own thunk. The unwind
// directives describe the frame, so that a debugger can walk through it.
extern "C" LRESULT ClasslibThunkEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
extern "C" LRESULT ClasslibStdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, void* record);

asm(R"(
    .text
    .p2align 4
    .globl ClasslibThunkEntry
    .def ClasslibThunkEntry; .scl 2; .type 32; .endef
    .seh_proc ClasslibThunkEntry
ClasslibThunkEntry:
    subq $56, %rsp
    .seh_stackalloc 56
    .seh_endprologue
    movq %r10, 32(%rsp)
    call ClasslibStdWndProc
    addq $56, %rsp
    ret
    .seh_endproc
)");

extern "C" LRESULT ClasslibStdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, void* record) {
  auto* instance = static_cast<TObjectInstance*>(record);
  if (!instance->Method) {
    // A freed thunk that a window (or a subclass that kept it) still calls:
    // the system's default, never whatever object the record served.
    return IsWindowUnicode(window) ? DefWindowProcW(window, msg, wParam, lParam)
                                   : DefWindowProcA(window, msg, wParam, lParam);
  }
  instance->Window = window;
  // The method is copied first: it may free the thunk while it runs.
  TWndMethod method = instance->Method;
  TMessage message{msg, wParam, lParam, 0};
  // The one boundary of every thunked procedure: an exception must not go
  // back into the system that called it (x64 Windows does not promise to
  // unwind through its own frames; Wine does, so the caller of SendMessage
  // would see it). The method's object is not named: it may be gone.
  try {
    method(message);
  } catch (...) {
    ControlsHandleException(nullptr);
  }
  return message.Result;
}

namespace {

// The records of the executable blocks. A freed record is handed out again
// only when the window that last called it is gone: a window that still
// lives may hold its address (as its procedure, or a subclass of it as the
// procedure it calls on), and must never reach another object through it.
struct TInstancePool {
  std::mutex Lock;
  TObjectInstance* Free = nullptr;
  // Freed while their window still lived.
  std::vector<TObjectInstance*> Parked;

  TObjectInstance* Take() {
    if (!Free) ReleaseParked();
    if (!Free) Grow();
    TObjectInstance* inst = Free;
    Free = inst->Next;
    inst->Next = nullptr;
    inst->Window = nullptr;
    return inst;
  }
  void Give(TObjectInstance* inst) {
    inst->Method = TWndMethod();
    if (inst->Window && IsWindow(inst->Window)) {
      Parked.push_back(inst);
      return;
    }
    inst->Next = Free;
    Free = inst;
  }
  void ReleaseParked() {
    for (size_t i = Parked.size(); i-- > 0;) {
      TObjectInstance* inst = Parked[i];
      if (IsWindow(inst->Window)) continue;
      Parked.erase(Parked.begin() + static_cast<std::ptrdiff_t>(i));
      inst->Next = Free;
      Free = inst;
    }
  }
  void Grow() {
    // Blocks live as long as the process: a window may call a freed thunk
    // at any time, and the platform never gives them back either.
    void* block = VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!block) throw EOutOfResources("Out of system resources");
    auto* first = static_cast<TObjectInstance*>(block);
    size_t count = kBlockSize / sizeof(TObjectInstance);
    for (size_t i = 0; i < count; ++i) {
      auto* inst = new (first + i) TObjectInstance{};
      WriteThunk(inst);
      inst->Next = Free;
      Free = inst;
    }
  }
  // mov r10, <record>; mov rax, <ClasslibThunkEntry>; jmp rax. Written once:
  // a record keeps its code for good, freed or not.
  static void WriteThunk(TObjectInstance* inst) {
    unsigned char* c = inst->Code;
    uint64_t self = reinterpret_cast<uint64_t>(inst);
    uint64_t target = reinterpret_cast<uint64_t>(&ClasslibThunkEntry);
    c[0] = 0x49; c[1] = 0xBA;  // mov r10, imm64
    std::memcpy(c + 2, &self, 8);
    c[10] = 0x48; c[11] = 0xB8;  // mov rax, imm64
    std::memcpy(c + 12, &target, 8);
    c[20] = 0xFF; c[21] = 0xE0;  // jmp rax
    c[22] = 0xCC; c[23] = 0xCC;
    FlushInstructionCache(GetCurrentProcess(), c, sizeof inst->Code);
  }
};

TInstancePool& Pool() {
  static TInstancePool pool;
  return pool;
}

}  // namespace

WNDPROC MakeObjectInstance(const TWndMethod& method) {
  TInstancePool& pool = Pool();
  std::lock_guard<std::mutex> guard(pool.Lock);
  TObjectInstance* inst = pool.Take();
  inst->Method = method;
  return FunctionCast<WNDPROC>(static_cast<void*>(inst->Code));
}

void FreeObjectInstance(WNDPROC instance) {
  if (!instance) return;
  TInstancePool& pool = Pool();
  std::lock_guard<std::mutex> guard(pool.Lock);
  pool.Give(reinterpret_cast<TObjectInstance*>(FunctionCast<void*>(instance)));
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
