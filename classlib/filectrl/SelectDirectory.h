// SelectDirectory: the shell's folder browser (SHBrowseForFolderA), run
// with the program's other windows disabled.
#pragma once

#include <string>

#include "classlib/Win.h"

#include <shlobj.h>

// Caption is the text above the tree; Root, when not empty, the folder the
// tree starts from (a path the desktop folder can parse); Directory, when
// it exists, is selected at the start (one that does not exist is
// cleared). True when the user chose a folder, which is then in Directory;
// false leaves Directory as it was (apart from that clearing).
bool SelectDirectory(const std::string& caption, const std::wstring& root, std::string& directory);

// The shell's allocator, which frees what the shell hands out (Malloc is
// null when the shell gives none).
struct TShellMalloc {
  IMalloc* Malloc = nullptr;
  TShellMalloc() {
    if (SHGetMalloc(&Malloc) != S_OK) Malloc = nullptr;
  }
  ~TShellMalloc() {
    if (Malloc) Malloc->Release();
  }
  TShellMalloc(const TShellMalloc&) = delete;
  TShellMalloc& operator=(const TShellMalloc&) = delete;
  void Free(void* p) const {
    if (p) Malloc->Free(p);
  }
};

// The item list of a path, parsed by the desktop folder for the
// application's window (null when it cannot be); the caller frees it with
// the shell's allocator.
LPITEMIDLIST ParseShellPath(const std::wstring& path);
