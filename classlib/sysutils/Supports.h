// Supports: whether an object (or another interface of one) implements an
// interface, and the interface itself. The interface's type is its name
// here, as the platform names it by its GUID; a nil instance supports
// nothing.
//
//   if (IVoxAction* a = nullptr; Supports(action, a)) ...
//   if (Supports<IVoxAction>(action)) ...
#pragma once

#include <string>
#include <type_traits>

#include "classlib/system/Interfaces.h"
#include "classlib/system/Objects.h"

template <class I, class From>
bool Supports(From* instance, I*& intf) {
  static_assert(std::is_base_of_v<IInterface, I>, "Supports asks for an interface");
  static_assert(std::is_base_of_v<TObject, From> || std::is_base_of_v<IInterface, From>,
                "Supports asks an object or an interface");
  // A cross-cast: the object's most derived type decides, whatever static
  // type the caller holds it by.
  intf = instance ? dynamic_cast<I*>(instance) : nullptr;
  return intf != nullptr;
}

template <class I, class From>
bool Supports(From* instance) {
  I* intf = nullptr;
  return Supports(instance, intf);
}

// The registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (upper case).
std::string GUIDToString(const TGUID& guid);
// The reverse; anything else raises EConvertError "'%s' is not a valid GUID
// value".
TGUID StringToGUID(const std::string& text);
