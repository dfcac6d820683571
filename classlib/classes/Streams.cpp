#include "classlib/classes/Streams.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/SysUtils.h"

std::string BinToHex(const void* buffer, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  std::string text;
  text.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::vector<uint8_t> HexToBin(std::string_view text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return bytes;
}

IMPLEMENT_CLASS(TStream)

void TStream::ReadBuffer(void* buffer, int count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream* source, int64_t count) {
  // A negative count copies nothing (it would size the buffer from it).
  if (count < 0) return 0;
  if (count == 0) {
    source->SetPosition(0);
    count = source->GetSize();
  }
  int64_t result = count;
  constexpr int kMaxBufSize = 0xF000;
  std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(count, kMaxBufSize)));
  while (count > 0) {
    int n = static_cast<int>(std::min<int64_t>(count, kMaxBufSize));
    source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    count -= n;
  }
  return result;
}

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, soCurrent);
  int64_t result = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return result;
}

// A stream of fixed size ignores a new size.
void TStream::SetSize(int64_t) {}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(THandleStream)

int THandleStream::Read(void* buffer, int count) {
  DWORD got = 0;
  if (count <= 0 || !ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr)) return 0;
  return static_cast<int>(got);
}

int THandleStream::Write(const void* buffer, int count) {
  DWORD put = 0;
  if (count <= 0 || !WriteFile(handle_, buffer, static_cast<DWORD>(count), &put, nullptr)) return 0;
  return static_cast<int>(put);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  static_assert(soBeginning == FILE_BEGIN && soCurrent == FILE_CURRENT && soEnd == FILE_END);
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER pos;
  if (!SetFilePointerEx(handle_, distance, &pos, static_cast<DWORD>(origin))) return -1;
  return pos.QuadPart;
}

void THandleStream::SetSize(int64_t newSize) {
  Seek(newSize, soBeginning);
  Win32Check(SetEndOfFile(handle_));
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TFileStream)

bool FileOpenModeFlags(WORD mode, DWORD& access, DWORD& share) {
  static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE};
  unsigned a = mode & 3;
  unsigned s = (mode & 0xF0) >> 4;
  if (mode == fmCreate || a > 2 || s > 4) return false;
  access = kAccess[a];
  share = kShare[s];
  return true;
}

namespace {

HANDLE OpenFileHandle(const std::string& fileName, WORD mode) {
  if (mode == fmCreate)
    return CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD access, share;
  if (!FileOpenModeFlags(mode, access, share)) return INVALID_HANDLE_VALUE;
  return CreateFileA(fileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, WORD mode)
    : THandleStream(OpenFileHandle(fileName, mode)), fileName_(fileName) {
  if (handle_ == INVALID_HANDLE_VALUE) {
    if (mode == fmCreate) throw EFCreateError(Format(SFCreateError, {fileName}));
    throw EFOpenError(Format(SFOpenError, {fileName}));
  }
}

TFileStream::~TFileStream() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomMemoryStream)

void TCustomMemoryStream::SetPointer(void* memory, int64_t size) {
  memory_ = memory;
  size_ = size;
}

int TCustomMemoryStream::Read(void* buffer, int count) {
  if (position_ < 0 || count <= 0) return 0;
  int64_t n = std::min<int64_t>(size_ - position_, count);
  if (n <= 0) return 0;
  std::memcpy(buffer, static_cast<char*>(memory_) + position_, static_cast<size_t>(n));
  position_ += n;
  return static_cast<int>(n);
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = size_ + offset; break;
  }
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* stream) {
  if (size_ != 0) stream->WriteBuffer(memory_, static_cast<int>(size_));
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName) {
  Owned<TFileStream> stream = MakeOwned<TFileStream>(fileName, fmCreate);
  SaveToStream(stream.get());
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TMemoryStream)

TMemoryStream::~TMemoryStream() { std::free(memory_); }

void TMemoryStream::Clear() {
  SetCapacity(0);
  size_ = 0;
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
  stream->SetPosition(0);
  int64_t count = stream->GetSize();
  SetSize(count);
  if (count != 0) stream->ReadBuffer(memory_, static_cast<int>(count));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  Owned<TFileStream> stream = MakeOwned<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream.get());
}

void TMemoryStream::SetCapacity(int64_t newCapacity) {
  SetPointer(Realloc(newCapacity), size_);
  capacity_ = newCapacity;
}

void* TMemoryStream::Realloc(int64_t& newCapacity) {
  constexpr int64_t kMemoryDelta = 0x2000;
  if (newCapacity > 0 && newCapacity != size_)
    newCapacity = (newCapacity + (kMemoryDelta - 1)) & ~(kMemoryDelta - 1);
  if (newCapacity == capacity_) return memory_;
  if (newCapacity == 0) {
    std::free(memory_);
    return nullptr;
  }
  void* p = std::realloc(memory_, static_cast<size_t>(newCapacity));
  if (!p) throw EStreamError(SMemoryStreamError);
  return p;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  int64_t oldPosition = position_;
  int64_t oldSize = size_;
  SetCapacity(newSize);
  size_ = newSize;
  if (newSize > oldSize)
    std::memset(static_cast<char*>(memory_) + oldSize, 0, static_cast<size_t>(newSize - oldSize));
  if (oldPosition > newSize) Seek(0, soEnd);
}

int TMemoryStream::Write(const void* buffer, int count) {
  if (position_ < 0 || count < 0) return 0;
  int64_t end = position_ + count;
  if (end <= 0) return 0;
  if (end > size_) {
    if (end > capacity_) SetCapacity(end);
    // A write beyond the end leaves no stale bytes in the gap.
    if (position_ > size_)
      std::memset(static_cast<char*>(memory_) + size_, 0, static_cast<size_t>(position_ - size_));
    size_ = end;
  }
  std::memcpy(static_cast<char*>(memory_) + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TStringStream)

int TStringStream::Read(void* buffer, int count) {
  if (count <= 0) return 0;
  int64_t n = std::min<int64_t>(static_cast<int64_t>(dataString_.size()) - position_, count);
  if (n <= 0) return 0;
  std::memcpy(buffer, dataString_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return static_cast<int>(n);
}

int TStringStream::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  size_t end = static_cast<size_t>(position_) + static_cast<size_t>(count);
  if (end > dataString_.size()) dataString_.resize(end);
  std::memcpy(dataString_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = static_cast<int64_t>(end);
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t size = static_cast<int64_t>(dataString_.size());
  switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = size + offset; break;
  }
  position_ = std::clamp<int64_t>(position_, 0, size);
  return position_;
}

void TStringStream::SetSize(int64_t newSize) {
  dataString_.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
  if (position_ > static_cast<int64_t>(dataString_.size()))
    position_ = static_cast<int64_t>(dataString_.size());
}

std::string TStringStream::ReadString(int count) {
  int64_t n = std::min<int64_t>(static_cast<int64_t>(dataString_.size()) - position_, count);
  if (n <= 0) return {};
  std::string result = dataString_.substr(static_cast<size_t>(position_), static_cast<size_t>(n));
  position_ += n;
  return result;
}

void TStringStream::WriteString(const std::string& s) {
  Write(s.data(), static_cast<int>(s.size()));
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TResourceStream)

TResourceStream::TResourceStream(HINSTANCE instance, const std::string& resName,
                                 const char* resType) {
  Initialize(instance, resName.c_str(), resType, resName);
}

TResourceStream::TResourceStream(HINSTANCE instance, int resId, const char* resType) {
  // The platform formats a numeric id as if it were a name; "#id" is how a
  // resource script writes one.
  Initialize(instance, MAKEINTRESOURCEA(resId), resType, "#" + std::to_string(resId));
}

void TResourceStream::Initialize(HINSTANCE instance, const char* name, const char* type,
                                 const std::string& shownName) {
  HRSRC info = FindResourceA(instance, name, type);
  if (info) global_ = LoadResource(instance, info);
  if (!info || !global_) throw EResNotFound(Format(SResNotFound, {shownName}));
  SetPointer(LockResource(global_), SizeofResource(instance, info));
}

TResourceStream::~TResourceStream() {
  if (global_) FreeResource(global_);
}

int TResourceStream::Write(const void*, int) { throw EStreamError(SCantWriteResourceStreamError); }
