// Streams: TStream and its descendants over file handles, memory, strings and
// resources.
//
// A stream is a sequence of bytes with a position. Read and Write move as
// many bytes as they can and say how many; ReadBuffer and WriteBuffer insist
// on all of them and raise otherwise. Seek is the one primitive for Position
// and Size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Win.h"
#include "classlib/System.h"
#include "classlib/TypInfo.h"
#include "classlib/classes/Errors.h"

class TComponent;

// File open modes: the access in the low bits, the sharing in bits 4-6.
inline constexpr WORD fmCreate = 0xFFFF;
inline constexpr WORD fmOpenRead = 0x0000;
inline constexpr WORD fmOpenWrite = 0x0001;
inline constexpr WORD fmOpenReadWrite = 0x0002;
inline constexpr WORD fmShareCompat = 0x0000;
inline constexpr WORD fmShareExclusive = 0x0010;
inline constexpr WORD fmShareDenyWrite = 0x0020;
inline constexpr WORD fmShareDenyRead = 0x0030;
inline constexpr WORD fmShareDenyNone = 0x0040;

// The CreateFile access and share flags of an fmOpen* | fmShare* mode (not
// fmCreate); false for a mode outside the tables. TFileStream and the Unicode
// layer's wide file functions open files through the same tables.
bool FileOpenModeFlags(WORD mode, DWORD& access, DWORD& share);

inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SFCreateError = "Cannot create file %s";
inline constexpr const char* SFOpenError = "Cannot open file %s";
inline constexpr const char* SResNotFound = "Resource %s not found";
inline constexpr const char* SCantWriteResourceStreamError = "Can't write to a read-only resource stream";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Binary data as text, as stored forms and settings keep it: each byte as
// two upper-case hexadecimal digits.
std::string BinToHex(const void* buffer, size_t size);
// Pairs of hexadecimal digits (either case) back into bytes, up to the first
// pair that is not one (an odd last digit is left over).
std::vector<uint8_t> HexToBin(std::string_view text);

class TStream : public TObject {
  DECLARE_CLASS(TStream, TObject)

  // Moves up to count bytes; returns how many moved (0 at the end).
  virtual int Read(void* buffer, int count) = 0;
  virtual int Write(const void* buffer, int count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  // Raise EReadError "Stream read error" / EWriteError "Stream write error"
  // when fewer than count bytes move.
  void ReadBuffer(void* buffer, int count);
  void WriteBuffer(const void* buffer, int count);
  // Copies count bytes from source's position; count 0 copies the whole of
  // source from its start, a negative count nothing. Returns the number of
  // bytes copied.
  int64_t CopyFrom(TStream* source, int64_t count);

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t GetSize();
  virtual void SetSize(int64_t newSize);

  // A component in the stored-form text format (defined with the reader
  // and writer).
  TComponent* ReadComponent(TComponent* instance);
  void WriteComponent(TComponent* instance);
};

// A stream over an operating-system file handle that someone else owns.
class THandleStream : public TStream {
  DECLARE_CLASS(THandleStream, TStream)

  explicit THandleStream(HANDLE handle) : handle_(handle) {}

  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Moves the end of the file (raises EOSError when the system refuses).
  void SetSize(int64_t newSize) override;

  HANDLE GetHandle() const { return handle_; }

 protected:
  HANDLE handle_;
};

// A stream over a named file that it opens and closes itself.
class TFileStream : public THandleStream {
  DECLARE_CLASS(TFileStream, THandleStream)

  // mode is fmCreate (create or truncate, exclusive), or an fmOpen* access
  // combined with an fmShare* mode. Raises EFCreateError "Cannot create file
  // %s" or EFOpenError "Cannot open file %s".
  TFileStream(const std::string& fileName, WORD mode);
  ~TFileStream() override;

  const std::string& GetFileName() const { return fileName_; }

 private:
  std::string fileName_;
};

// A stream over a block of memory that it does not manage itself.
class TCustomMemoryStream : public TStream {
  DECLARE_CLASS(TCustomMemoryStream, TStream)

  int Read(void* buffer, int count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SaveToStream(TStream* stream);
  void SaveToFile(const std::string& fileName);

  void* GetMemory() const { return memory_; }

 protected:
  void SetPointer(void* memory, int64_t size);

  void* memory_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// A growable stream in memory. Writing past the end grows it; the capacity
// grows in steps of 8 KB.
class TMemoryStream : public TCustomMemoryStream {
  DECLARE_CLASS(TMemoryStream, TCustomMemoryStream)

  ~TMemoryStream() override;

  int Write(const void* buffer, int count) override;
  void SetSize(int64_t newSize) override;
  void Clear();
  void LoadFromStream(TStream* stream);
  void LoadFromFile(const std::string& fileName);

  int64_t GetCapacity() const { return capacity_; }

 protected:
  void SetCapacity(int64_t newCapacity);
  // Returns the memory block for newCapacity (rounded up to the growth step);
  // raises EStreamError "Out of memory while expanding memory stream" when
  // it cannot be had, as the platform does.
  virtual void* Realloc(int64_t& newCapacity);

 private:
  int64_t capacity_ = 0;
};

// A stream over an AnsiString.
class TStringStream : public TStream {
  DECLARE_CLASS(TStringStream, TStream)

  explicit TStringStream(std::string s = {}) : dataString_(std::move(s)) {}

  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  // The position stays within 0..Size.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  // Up to count characters from the position on.
  std::string ReadString(int count);
  void WriteString(const std::string& s);

  const std::string& GetDataString() const { return dataString_; }

 private:
  std::string dataString_;
  int64_t position_ = 0;
};

// A read-only stream over a resource of a module (RCDATA, stored forms...).
class TResourceStream : public TCustomMemoryStream {
  DECLARE_CLASS(TResourceStream, TCustomMemoryStream)

  // resType is a name or MAKEINTRESOURCE (RT_RCDATA). Raise EResNotFound
  // "Resource %s not found".
  TResourceStream(HINSTANCE instance, const std::string& resName, const char* resType);
  TResourceStream(HINSTANCE instance, int resId, const char* resType);
  ~TResourceStream() override;

  // Raises EStreamError "Can't write to a read-only resource stream".
  int Write(const void* buffer, int count) override;

 private:
  void Initialize(HINSTANCE instance, const char* name, const char* type,
                  const std::string& shownName);

  HGLOBAL global_ = nullptr;
};
