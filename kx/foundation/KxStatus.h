// KxStatus: the version information of a file and the panes that show it.
//
// TKxVersionInfo reads the string table of a file's version resource once
// (the program's own file when no path is given) and keeps its ten standard
// values; the version-info panes linked to it show one of them each and are
// refreshed whenever it reads again.
//
// The version block is read with the ANSI API (GetFileVersionInfoA and
// VerQueryValueA): the strings come back in the ANSI code page, as the
// rest of the library's text. The string table is found through the first
// entry of "\VarFileInfo\Translation", so a resource whose table is not
// named after that entry shows empty values, as on the platform.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"

// The index of each standard value in the field list (stored as one byte).
enum TKxVersionInfoField : uint8_t {
  vifCompanyName,
  vifFileDescription,
  vifFileVersion,
  vifInternalName,
  vifCopyright,
  vifTrademarks,
  vifOriginalFilename,
  vifProductName,
  vifProductVersion,
  vifComments
};
DECLARE_ENUM_TYPE(TKxVersionInfoField);

// The key of each field in the version resource's string table, by ordinal.
const char* KxVersionInfoKey(TKxVersionInfoField field);

// What every field holds when the file has no version resource.
inline constexpr const char* SKxValueNotAvailable = "Value Not Available";

class TKxVersionInfoStatus;

class TKxVersionInfo : public TComponent {
  DECLARE_CLASS(TKxVersionInfo, TComponent)

  // Reads at once, except at design time.
  explicit TKxVersionInfo(TComponent* owner);

  // The file whose resource is read; empty means the program's own, and the
  // first read fills in that path.
  const std::string& GetFilePath() const { return filePath_; }
  virtual void SetFilePath(const std::string& value);

  // Reads the ten values afresh.
  void GetVersionInfo();
  // The value at index (0..9, in the order of TKxVersionInfoField); an index
  // outside the list raises the string list's index error.
  std::string GetField(int index) const;
  std::string GetVerField(TKxVersionInfoField field) const;
  // One key of the string table, read afresh and not kept; "Value Not
  // Available" when the file has no version resource or no such key.
  std::string GetCustomKeyValue(const std::string& key);
  // True when the last read found a version resource.
  bool GetAvailable() const { return available_; }

  // The linked panes: each appears once, in linking order. The list exists
  // only while a pane is linked; the component does not own the panes.
  void UpdateStatusControls();
  int AddStatus(TKxVersionInfoStatus* status);
  void RemoveStatus(TKxVersionInfoStatus* status);
  int GetStatusCount() const { return statusList_ ? statusList_->GetCount() : 0; }

  void Loaded() override;

 protected:
  void Destroy() override;

 private:
  class TVersionBlock;
  // The version block of FilePath (filling in the program's own path when it
  // is empty) and its string-table prefix; sets the availability flag.
  TVersionBlock ReadBlock();

  std::string filePath_;
  TStringList* fields_ = nullptr;
  bool available_ = false;
  TList* statusList_ = nullptr;
};

// A pane that shows one value of a TKxVersionInfo. Until the status panes'
// own base arrives with the status bar, the pane is a plain graphic control
// whose caption is the value; its link with the component is complete.
class TKxVersionInfoStatus : public TGraphicControl {
  DECLARE_CLASS(TKxVersionInfoStatus, TGraphicControl)

  explicit TKxVersionInfoStatus(TComponent* owner);

  TKxVersionInfo* GetVersionInfo() const { return versionInfo_; }
  TKxVersionInfoField GetField() const { return field_; }

  // --- virtual operations, in the library's order ---------------------------------------
  virtual void SetVersionInfo(TKxVersionInfo* value);
  virtual void SetField(TKxVersionInfoField value);

  // Shows the component's value of Field (not at design time).
  void UpdateCaption();
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  TKxVersionInfo* versionInfo_ = nullptr;
  TKxVersionInfoField field_ = vifCompanyName;
};

// Start-up: the unit's classes join the class registry.
void InitializeKxStatus();
void FinalizeKxStatus();
