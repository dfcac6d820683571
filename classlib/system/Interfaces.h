// Interfaces: the GUID that names one, and the root every interface of the
// class library and its libraries derives from.
//
// An interface is an abstract C++ class with a GUID of its own (a static
// member `IID`). Objects implement it by deriving from it beside their class
// chain; SysUtils' Supports asks an object for it. There is no reference
// counting: a component that implements an interface lives by its owner, as
// the platform's components do (their reference counting is switched off).
#pragma once

#include <cstdint>
#include <string_view>

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0;
  uint16_t D3 = 0;
  uint8_t D4[8] = {};

  friend constexpr bool operator==(const TGUID& a, const TGUID& b) {
    if (a.D1 != b.D1 || a.D2 != b.D2 || a.D3 != b.D3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.D4[i] != b.D4[i]) return false;
    return true;
  }

  // The registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" at compile time;
  // a malformed text makes the constant ill-formed (a throw in a constant
  // expression), so a mistyped IID never builds.
  static constexpr TGUID Parse(std::string_view s) {
    if (s.size() != 38 || s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' ||
        s[37] != '}')
      throw "malformed GUID";
    TGUID g;
    g.D1 = static_cast<uint32_t>(Hex(s, 1, 8));
    g.D2 = static_cast<uint16_t>(Hex(s, 10, 4));
    g.D3 = static_cast<uint16_t>(Hex(s, 15, 4));
    g.D4[0] = static_cast<uint8_t>(Hex(s, 20, 2));
    g.D4[1] = static_cast<uint8_t>(Hex(s, 22, 2));
    for (int i = 0; i < 6; ++i) g.D4[2 + i] = static_cast<uint8_t>(Hex(s, 25 + 2 * static_cast<size_t>(i), 2));
    return g;
  }

 private:
  static constexpr uint64_t Hex(std::string_view s, size_t at, size_t digits) {
    uint64_t v = 0;
    for (size_t i = at; i < at + digits; ++i) {
      char c = s[i];
      int d = c >= '0' && c <= '9'   ? c - '0'
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                     : -1;
      if (d < 0) throw "malformed GUID";
      v = v * 16 + static_cast<uint64_t>(d);
    }
    return v;
  }
};

// The root of every interface (the platform's IInterface without its
// reference counting).
class IInterface {
 public:
  static constexpr TGUID IID = TGUID::Parse("{00000000-0000-0000-C000-000000000046}");
  virtual ~IInterface() = default;
};
