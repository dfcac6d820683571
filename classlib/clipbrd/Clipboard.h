// The Clipbrd unit: the process's one TClipboard over the Win32 clipboard.
//
// Open and Close nest; the clipboard is opened for a hidden window of its own
// (an owner window is needed: with none, EmptyClipboard leaves no owner and
// SetClipboardData fails). The first write of an open session empties the
// clipboard, so that several formats written in one session stay together.
#pragma once

#include <string>

#include "classlib/Win.h"
#include "classlib/classes/Persistent.h"

class TClipboard : public TPersistent {
  DECLARE_CLASS(TClipboard, TPersistent)

  TClipboard() = default;
  ~TClipboard() override;

  // Raises Exception "Cannot open clipboard" when another window holds it.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(WORD format);
  int GetFormatCount();
  WORD GetFormats(int index);

  // A TPicture or any TGraphic goes in through its clipboard format (a
  // bitmap as CF_BITMAP, with CF_PALETTE when it has a palette).
  void Assign(TPersistent* source) override;

  std::string GetAsText();
  void SetAsText(const std::string& value);
  // The data handle of a format (owned by the clipboard).
  HANDLE GetAsHandle(WORD format);
  // Hands a global memory or GDI handle to the clipboard, which owns it then.
  void SetAsHandle(WORD format, HANDLE value);
  void SetBuffer(WORD format, const void* buffer, int size);

 protected:
  // Into a TPicture (the first format a registered graphic class takes) or a
  // TBitmap (CF_BITMAP).
  void AssignTo(TPersistent* dest) override;
  void Destroy() override;

 private:
  void Adding();

  int openRefCount_ = 0;
  HWND window_ = nullptr;
  bool emptied_ = false;
};

// The process's clipboard, made on first use.
TClipboard* Clipboard();
// Replaces it (the old one is returned, not freed); null frees nothing.
TClipboard* SetClipboard(TClipboard* newClipboard);
// Frees the clipboard object at the end of the graphics unit.
void FreeClipboard();
