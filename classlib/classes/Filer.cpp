// TFiler, the component and stream entry points of stored forms, forms kept
// as RCDATA resources, inherited forms and the global name-space lock.
#include "classlib/classes/Filer.h"

#include <mutex>

#include "classlib/classes/Streams.h"

IMPLEMENT_CLASS(TFiler)

void TComponent::ReadState(TReader* reader) { reader->ReadData(this); }
void TComponent::WriteState(TWriter* writer) { writer->WriteData(this); }

TComponent* TStream::ReadComponent(TComponent* instance) {
  Owned<TReader> reader(New<TReader>(this));
  return reader->ReadRootComponent(instance);
}

void TStream::WriteComponent(TComponent* instance) {
  Owned<TWriter> writer(New<TWriter>(this));
  writer->WriteRootComponent(instance);
}

// ---------------------------------------------------------------------------

namespace {
std::recursive_mutex& NameSpaceMutex() {
  static std::recursive_mutex m;
  return m;
}

std::string UpperName(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}
}  // namespace

void TGlobalNameSpace::BeginRead() { NameSpaceMutex().lock(); }
void TGlobalNameSpace::EndRead() { NameSpaceMutex().unlock(); }
bool TGlobalNameSpace::BeginWrite() {
  NameSpaceMutex().lock();
  return true;
}
void TGlobalNameSpace::EndWrite() { NameSpaceMutex().unlock(); }

TGlobalNameSpace& GlobalNameSpace() {
  static TGlobalNameSpace ns;
  return ns;
}

HINSTANCE FindClassHInstance(TClass cls) {
  // The class reference lives in the module that holds the class's code.
  HMODULE module = nullptr;
  if (!cls || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                      GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  reinterpret_cast<LPCSTR>(cls), &module))
    module = GetModuleHandleA(nullptr);
  return module;
}

bool InternalReadComponentRes(const std::string& resName, HINSTANCE module, TComponent*& instance) {
  // Resource names are matched without case; windres keeps them upper case.
  std::string name = UpperName(resName);
  if (!FindResourceA(module, name.c_str(), RT_RCDATA)) return false;
  Owned<TResourceStream> stream(New<TResourceStream>(module, name, RT_RCDATA));
  instance = stream->ReadComponent(instance);
  return true;
}

TComponent* ReadComponentRes(const std::string& resName, TComponent* instance) {
  HINSTANCE module = instance ? FindClassHInstance(instance->ClassType()) : GetModuleHandleA(nullptr);
  if (!InternalReadComponentRes(resName, module, instance))
    throw EResNotFound("Resource " + resName + " not found");
  return instance;
}

TComponent* ReadComponentResEx(HINSTANCE module, const std::string& resName) {
  TComponent* instance = nullptr;
  if (!InternalReadComponentRes(resName, module, instance))
    throw EResNotFound("Resource " + resName + " not found");
  return instance;
}

namespace {
// The resources of cls's ancestors first (the root ancestor excluded), then cls's own.
bool InitComponent(TComponent* instance, TClass cls, TClass rootAncestor) {
  if (!cls || cls == TComponent::StaticClass() || cls == rootAncestor) return false;
  bool result = InitComponent(instance, cls->ClassParent(), rootAncestor);
  TComponent* target = instance;
  return InternalReadComponentRes(cls->ClassName(), FindClassHInstance(cls), target) || result;
}
}  // namespace

bool InitInheritedComponent(TComponent* instance, TClass rootAncestor) {
  TGlobalNameSpace& ns = GlobalNameSpace();
  ns.BeginWrite();
  bool result = false;
  try {
    BeginGlobalLoading();
    try {
      result = InitComponent(instance, instance->ClassType(), rootAncestor);
      NotifyGlobalLoading();
    } catch (...) {
      EndGlobalLoading();
      throw;
    }
    EndGlobalLoading();
  } catch (...) {
    ns.EndWrite();
    throw;
  }
  ns.EndWrite();
  return result;
}
