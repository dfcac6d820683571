// Resources of the program's module: string tables, bitmaps, cursors and
// icons, found by name or by number.
//
// Every library of the system is linked statically into the executable, so
// the module that holds their resources is the executable's (MainInstance);
// each loader takes another module where a caller has one (a system DLL).
//
// Surface for component writers (component libraries load their bitmaps,
// cursors and strings with these): include it directly; it changes only as
// the unit headers do.
#pragma once

#include "classlib/Win.h"

#include <cstdint>
#include <span>
#include <string>

#include "classlib/Graphics.h"

// The executable's module handle, the platform's MainInstance and HInstance.
HINSTANCE MainInstance();
// The module that holds the resources of `instance` (the platform can move
// them into a language DLL; this system has none, so it is the module itself,
// and a null instance means the executable).
HINSTANCE FindResourceHInstance(HINSTANCE instance);

// A resource named by text ("KXCOMMON_OK") or by number (MAKEINTRESOURCE).
class TResourceName {
 public:
  TResourceName(const char* name) : text_(name ? name : "") {}
  TResourceName(const std::string& name) : text_(name) {}
  TResourceName(int id) : id_(static_cast<WORD>(id)), isId_(true) {}

  bool IsId() const noexcept { return isId_; }
  WORD Id() const noexcept { return id_; }
  // The value the resource API takes: the text, or the number as a pointer.
  LPCSTR Get() const noexcept { return isId_ ? MAKEINTRESOURCEA(id_) : text_.c_str(); }
  // For messages: the name, or the number in decimal.
  std::string ToString() const { return isId_ ? std::to_string(id_) : text_; }

 private:
  std::string text_;
  WORD id_ = 0;
  bool isId_ = false;
};

// A resource string: its module (null: the executable) and its identifier in
// the string table. An Identifier above 0xFFFF is the address of the text
// itself, as the platform's resource-string records allow.
struct TResStringRec {
  HINSTANCE Module;
  uintptr_t Identifier;
};
using PResStringRec = const TResStringRec*;

// The string of the string table with that identifier, in the ANSI code
// page; "" when the module has no such string (as the platform). The buffer
// grows until the whole string fits.
std::string LoadStr(int ident);
std::string LoadStr(HINSTANCE instance, int ident);
std::string LoadResString(PResStringRec rec);

// LoadCursorA / LoadIconA on the module (null: the executable): null when the
// module has no such resource. A loaded cursor or icon is shared; it is never
// destroyed by its user.
HCURSOR LoadCursorResource(const TResourceName& name, HINSTANCE instance = nullptr);
HICON LoadIconResource(const TResourceName& name, HINSTANCE instance = nullptr);

// True when the module holds a resource of that type and name.
bool ResourceExists(const TResourceName& name, LPCSTR type, HINSTANCE instance = nullptr);

// Loads a bitmap resource with its colours remapped: every colour of
// oldColors found in the bitmap becomes the colour at the same place in
// newColors (system colours are resolved first). Palette bitmaps have their
// colour table remapped, as the platform does; bitmaps of 16 bits and more
// have their pixels remapped, so that a glyph drawn in true colour maps too.
// Returns a device-dependent bitmap owned by the caller; raises EResNotFound
// when the module has no such bitmap and EInvalidGraphic when it is damaged.
HBITMAP CreateMappedRes(HINSTANCE instance, const TResourceName& name,
                        std::span<const TColor> oldColors, std::span<const TColor> newColors);
