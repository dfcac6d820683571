// The IniFiles unit: settings read and written by section and name.
//
// TCustomIniFile holds every conversion once (integers, booleans, floats,
// dates and times, binary data as hexadecimal text) over the primitives that
// each store provides: ReadString/WriteString and the section listings.
// TIniFile is the Windows profile API over one file; TRegistryIniFile
// (Registry.h) is the same interface over a registry key.
#pragma once

#include "classlib/Win.h"

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/System.h"

class TStrings;
class TStream;

DECLARE_EXCEPTION(EIniFileException, Exception);

inline constexpr const char* SIniFileWriteError = "Unable to write to %s";

class TCustomIniFile : public TObject {
  DECLARE_CLASS(TCustomIniFile, TObject)

  explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& GetFileName() const { return fileName_; }

  // True when the section holds at least one value.
  virtual bool SectionExists(const std::string& section);
  virtual bool ValueExists(const std::string& section, const std::string& ident);

  virtual std::string ReadString(const std::string& section, const std::string& ident,
                                 const std::string& def) = 0;
  virtual void WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) = 0;
  // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else gives def.
  virtual int ReadInteger(const std::string& section, const std::string& ident, int def);
  virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
  // Any non-zero number is true; written as "0" or "1".
  virtual bool ReadBool(const std::string& section, const std::string& ident, bool def);
  virtual void WriteBool(const std::string& section, const std::string& ident, bool value);
  // Text in the locale's formats (SysUtils); a value that does not convert
  // gives def.
  virtual TDateTime ReadDate(const std::string& section, const std::string& ident, TDateTime def);
  virtual TDateTime ReadDateTime(const std::string& section, const std::string& ident, TDateTime def);
  virtual TDateTime ReadTime(const std::string& section, const std::string& ident, TDateTime def);
  virtual double ReadFloat(const std::string& section, const std::string& ident, double def);
  virtual void WriteDate(const std::string& section, const std::string& ident, TDateTime value);
  virtual void WriteDateTime(const std::string& section, const std::string& ident, TDateTime value);
  virtual void WriteTime(const std::string& section, const std::string& ident, TDateTime value);
  virtual void WriteFloat(const std::string& section, const std::string& ident, double value);
  // Binary data as upper-case hexadecimal text. Reading writes the bytes into
  // value at its position and returns their count; both calls leave value's
  // Position where it was (what the platform does for memory streams).
  virtual int ReadBinaryStream(const std::string& section, const std::string& ident, TStream* value);
  virtual void WriteBinaryStream(const std::string& section, const std::string& ident, TStream* value);

  // The names of the section's values / of the sections; the list is replaced.
  virtual void ReadSection(const std::string& section, TStrings* strings) = 0;
  virtual void ReadSections(TStrings* strings) = 0;
  // The section as "name=value" lines; the list is replaced.
  virtual void ReadSectionValues(const std::string& section, TStrings* strings);
  virtual void EraseSection(const std::string& section) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
  // Writes whatever the store still buffers.
  virtual void UpdateFile() = 0;

 protected:
  // The bytes from the stream's position to its end; the position is kept.
  static std::vector<uint8_t> TakeBytes(TStream* stream);
  // Writes the bytes at the stream's position and returns their count; the
  // position is kept, so the caller reads the bytes from there.
  static int PutBytes(TStream* stream, const std::vector<uint8_t>& bytes);

 private:
  std::string fileName_;
};

// An INI file through the Windows profile API. A file name without a folder
// is looked for in the Windows folder, as the profile API does; callers give
// full paths. Every write reaches the file at once.
class TIniFile : public TCustomIniFile {
  DECLARE_CLASS(TIniFile, TCustomIniFile)

  explicit TIniFile(const std::string& fileName) : TCustomIniFile(fileName) {}

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& def) override;
  // Raises EIniFileException "Unable to write to <file>" when the write fails.
  void WriteString(const std::string& section, const std::string& ident,
                   const std::string& value) override;
  void ReadSection(const std::string& section, TStrings* strings) override;
  void ReadSections(TStrings* strings) override;
  // Raises EIniFileException when the file cannot be written.
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  void UpdateFile() override;

 protected:
  void Destroy() override;

 private:
  // The double-NUL list the profile API gives for a null section or key.
  void ReadNames(const char* section, TStrings* strings);
  [[noreturn]] void WriteError() const;
};
