// Run-time type information: the published-property tables that drive stored
// forms, property access by name, and wide-property streaming.
//
// Each class publishes its properties, fields and methods in one registration
// function (PUBLISHED in its source file). The table of a class is its
// parent's, in the parent's order, followed by its own new entries; a property
// published again by a descendant (a new default, a new type) takes the
// ancestor's place in that order.
#pragma once

#include <climits>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "classlib/System.h"

enum TTypeKind : uint8_t {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass,
  tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord,
  tkInterface, tkInt64, tkDynArray
};
using TTypeKinds = TSet<TTypeKind>;
inline constexpr TTypeKinds tkAny = TTypeKinds::FromBits((uint64_t{1} << (tkDynArray + 1)) - 1);
inline constexpr TTypeKinds tkProperties = tkAny - TTypeKinds{tkArray, tkRecord, tkInterface, tkDynArray};
inline constexpr TTypeKinds tkStrings = {tkString, tkLString, tkWString};
inline constexpr TTypeKinds tkOrdinal = {tkInteger, tkChar, tkEnumeration, tkSet, tkWChar};

enum TOrdType : uint8_t { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType : uint8_t { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  std::string Name;
  TOrdType OrdType = otSLong;
  int64_t MinValue = 0;
  int64_t MaxValue = 0;
  std::vector<std::string> EnumNames;   // tkEnumeration, in value order
  const TTypeInfo* CompType = nullptr;  // tkSet: the element type
  TFloatType FloatType = ftDouble;
  TClass ClassType = nullptr;           // tkClass
};

// A named integer type (TColor, TCursor...) that stored forms write through
// an ident map; plain ints publish as "Integer".
const TTypeInfo* MakeIntegerTypeInfo(const char* name, int64_t minValue = INT32_MIN,
                                     int64_t maxValue = INT32_MAX);
TTypeInfo MakeEnumTypeInfo(const char* name, std::initializer_list<const char*> names);

// Enumerations publish their names through a function found by argument-
// dependent lookup: DECLARE_ENUM_TYPE(TAlign) after the enum in its header,
// DEFINE_ENUM_TYPE(TAlign, "alNone", "alTop", ...) in the source file. The
// values must run from 0 without gaps, as stored forms expect.
#define DECLARE_ENUM_TYPE(E) const TTypeInfo* TypeInfoOf(E*)
#define DEFINE_ENUM_TYPE(E, ...)                                      \
  const TTypeInfo* TypeInfoOf(E*) {                                   \
    static const TTypeInfo ti = MakeEnumTypeInfo(#E, {__VA_ARGS__});  \
    return &ti;                                                       \
  }

namespace typinfo_detail {
const TTypeInfo* Ordinal(const char* name, TOrdType ot, int64_t lo, int64_t hi, TTypeKind kind = tkInteger);
const TTypeInfo* Int64Info();
const TTypeInfo* FloatInfo(TFloatType ft);
const TTypeInfo* AnsiStringInfo();
const TTypeInfo* WideStringInfo();
const TTypeInfo* BooleanInfo();
const TTypeInfo* ClassInfo(TClass cls);
const TTypeInfo* SetInfo(const TTypeInfo* element);
}  // namespace typinfo_detail

template <class T>
const TTypeInfo* TypeInfo() {
  using namespace typinfo_detail;
  if constexpr (std::is_same_v<T, bool>) return BooleanInfo();
  else if constexpr (std::is_same_v<T, char>) return Ordinal("Char", otUByte, 0, 255, tkChar);
  else if constexpr (std::is_same_v<T, wchar_t>) return Ordinal("WideChar", otUWord, 0, 65535, tkWChar);
  else if constexpr (std::is_same_v<T, int8_t>) return Ordinal("ShortInt", otSByte, -128, 127);
  else if constexpr (std::is_same_v<T, uint8_t>) return Ordinal("Byte", otUByte, 0, 255);
  else if constexpr (std::is_same_v<T, int16_t>) return Ordinal("SmallInt", otSWord, -32768, 32767);
  else if constexpr (std::is_same_v<T, uint16_t>) return Ordinal("Word", otUWord, 0, 65535);
  else if constexpr (std::is_same_v<T, int32_t> || std::is_same_v<T, long>)
    return Ordinal("Integer", otSLong, INT32_MIN, INT32_MAX);
  else if constexpr (std::is_same_v<T, uint32_t> || std::is_same_v<T, unsigned long>)
    return Ordinal("Cardinal", otULong, 0, UINT32_MAX);
  else if constexpr (std::is_same_v<T, int64_t> || std::is_same_v<T, uint64_t>) return Int64Info();
  else if constexpr (std::is_same_v<T, float>) return FloatInfo(ftSingle);
  else if constexpr (std::is_same_v<T, double>) return FloatInfo(ftDouble);
  else if constexpr (std::is_same_v<T, long double>) return FloatInfo(ftExtended);
  else if constexpr (std::is_same_v<T, std::string>) return AnsiStringInfo();
  else if constexpr (std::is_same_v<T, std::wstring>) return WideStringInfo();
  else if constexpr (std::is_enum_v<T>) return TypeInfoOf(static_cast<T*>(nullptr));
  else if constexpr (IsTSet<T>::value) return SetInfo(TypeInfo<typename IsTSet<T>::Element>());
  else if constexpr (std::is_pointer_v<T>) return ClassInfo(std::remove_pointer_t<T>::StaticClass());
  else return MethodInfo(typeid(typename T::Signature));
}

// ---------------------------------------------------------------------------
// Property records

inline constexpr int kNoIndex = INT_MIN;
// The platform's "nodefault": the value is always written.
inline constexpr int64_t kNoDefault = int64_t{INT32_MIN};

struct TPropInfo {
  std::string Name;
  const TTypeInfo* PropType = nullptr;
  TClass Owner = nullptr;  // the class that published (or republished) it
  int Index = kNoIndex;
  int64_t Default = kNoDefault;
  int NameIndex = 0;  // position in the class's table

  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<std::string(TObject*)> GetLStr;
  std::function<void(TObject*, const std::string&)> SetLStr;
  std::function<std::wstring(TObject*)> GetWStr;
  std::function<void(TObject*, const std::wstring&)> SetWStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMeth;
  std::function<void(TObject*, const TMethod&)> SetMeth;
  // Null means "stored True"; StoredConst false means "stored False".
  std::function<bool(TObject*)> Stored;
  bool StoredConst = true;

  bool CanRead() const { return GetOrd || GetFloat || GetLStr || GetWStr || GetObj || GetMeth; }
  bool CanWrite() const { return SetOrd || SetFloat || SetLStr || SetWStr || SetObj || SetMeth; }
};
using PPropInfo = const TPropInfo*;
using TPropList = std::vector<PPropInfo>;

// A published field: a component reference the stored form binds by name.
struct TFieldEntry {
  std::string Name;
  TClass FieldClass = nullptr;
  std::function<void(TObject* root, TObject* value)> Assign;
  std::function<TObject*(TObject* root)> Get;
};

// A published method: found by name when a stored form binds an event, and
// named again when a form is written.
struct TMethodEntry {
  std::string Name;
  TMethod Code;  // Data is empty; the reader supplies the root object
};

class TPropTable {
 public:
  const TPropList& Props() const { return props_; }
  PPropInfo Find(std::string_view name) const;
  const TFieldEntry* FindField(std::string_view name) const;
  const std::vector<const TFieldEntry*>& Fields() const { return fields_; }
  const TMethodEntry* FindMethod(std::string_view name) const;
  // The published name of a method of this class, matched by code only.
  const TMethodEntry* FindMethodByCode(const TMethod& m) const;

  // Used while a class publishes its entries.
  TPropInfo& AddProp(TPropInfo info);
  void AddField(TFieldEntry f);
  void AddMethod(TMethodEntry m);
  void InheritFrom(const TPropTable& parent);

 private:
  std::deque<TPropInfo> ownProps_;
  std::deque<TFieldEntry> ownFields_;
  std::deque<TMethodEntry> ownMethods_;
  TPropList props_;
  std::vector<const TFieldEntry*> fields_;
  std::vector<const TMethodEntry*> methods_;
};

// ---------------------------------------------------------------------------
// Publishing

namespace typinfo_detail {
template <class F> struct Getter;
template <class C, class V> struct Getter<V (C::*)() const> { using Value = std::decay_t<V>; };
template <class C, class V> struct Getter<V (C::*)()> { using Value = std::decay_t<V>; };
template <class C, class V> struct Getter<V (C::*)(int) const> { using Value = std::decay_t<V>; };
template <class C, class V> struct Getter<V (C::*)(int)> { using Value = std::decay_t<V>; };

template <class V>
int64_t ToOrd(const V& v) {
  if constexpr (IsTSet<V>::value) return static_cast<int64_t>(v.Bits());
  // A Char is 0..255 as its type record says; mingw's char is signed.
  else if constexpr (std::is_same_v<V, char>) return static_cast<unsigned char>(v);
  else return static_cast<int64_t>(v);
}
template <class V>
V FromOrd(int64_t n) {
  if constexpr (IsTSet<V>::value) return V::FromBits(static_cast<uint64_t>(n));
  else return static_cast<V>(n);
}
[[noreturn]] void ThrowBadObject(const std::string& prop, TClass wanted);
[[noreturn]] void ThrowBadMethod(const std::string& prop);
}  // namespace typinfo_detail

template <class T>
class TPropBuilder {
 public:
  explicit TPropBuilder(TPropInfo& p) : p_(p) {}
  template <class V>
  TPropBuilder& Default(V v) {
    p_.Default = typinfo_detail::ToOrd(v);
    return *this;
  }
  TPropBuilder& NoDefault() {
    p_.Default = kNoDefault;
    return *this;
  }
  TPropBuilder& Stored(bool stored) {
    p_.Stored = nullptr;
    p_.StoredConst = stored;
    return *this;
  }
  template <class C>
  TPropBuilder& Stored(bool (C::*pred)() const) {
    p_.Stored = [pred](TObject* o) { return (static_cast<T*>(o)->*pred)(); };
    return *this;
  }
  // A named integer type (TColor, TCursor) instead of "Integer".
  TPropBuilder& Type(const TTypeInfo* ti) {
    p_.PropType = ti;
    return *this;
  }

 private:
  TPropInfo& p_;
};

template <class T>
class TPublisher {
 public:
  TPublisher(TPropTable& table, TClass owner) : table_(table), owner_(owner) {}

  // getter: V (C::*)() [const]; setter: void (C::*)(V) or (const V&), or nullptr.
  template <class G, class S>
  TPropBuilder<T> Prop(const char* name, G getter, S setter) {
    return Add(name, kNoIndex, getter, setter);
  }
  // With an index specifier: getter V (C::*)(int), setter void (C::*)(int, V).
  template <class G, class S>
  TPropBuilder<T> IndexedProp(const char* name, int index, G getter, S setter) {
    return Add(name, index, getter, setter);
  }

  template <class F, class C>
  void Field(const char* name, F* C::*member) {
    TFieldEntry f;
    f.Name = name;
    f.FieldClass = F::StaticClass();
    f.Assign = [member](TObject* root, TObject* value) {
      static_cast<T*>(root)->*member = dynamic_cast<F*>(value);
    };
    f.Get = [member](TObject* root) -> TObject* { return static_cast<T*>(root)->*member; };
    table_.AddField(std::move(f));
  }

  template <class C, class R, class... A>
  void Method(const char* name, R (C::*fn)(A...)) {
    TMethodEntry e;
    e.Name = name;
    // Bound to no object here; the reader binds it to its root.
    e.Code = TClosure<R(A...)>::Unbound(fn).Method();
    table_.AddMethod(std::move(e));
  }

 private:
  template <class G, class S>
  TPropBuilder<T> Add(const char* name, int index, G getter, S setter) {
    using V = typename typinfo_detail::Getter<G>::Value;
    TPropInfo p;
    p.Name = name;
    p.PropType = TypeInfo<V>();
    p.Owner = owner_;
    p.Index = index;
    auto get = [getter, index](TObject* o) -> V {
      T* t = static_cast<T*>(o);
      if constexpr (std::is_invocable_v<G, T*, int>) return (t->*getter)(index);
      else { (void)index; return (t->*getter)(); }
    };
    std::function<void(TObject*, V)> set;
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      set = [setter, index](TObject* o, V v) {
        T* t = static_cast<T*>(o);
        if constexpr (std::is_invocable_v<S, T*, int, V>) (t->*setter)(index, std::move(v));
        else { (void)index; (t->*setter)(std::move(v)); }
      };
    }
    using namespace typinfo_detail;
    if constexpr (std::is_same_v<V, std::string>) {
      p.GetLStr = get;
      if (set) p.SetLStr = [set](TObject* o, const std::string& v) { set(o, v); };
    } else if constexpr (std::is_same_v<V, std::wstring>) {
      p.GetWStr = get;
      if (set) p.SetWStr = [set](TObject* o, const std::wstring& v) { set(o, v); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p.Default = 0;
      p.GetFloat = [get](TObject* o) { return static_cast<double>(get(o)); };
      if (set) p.SetFloat = [set](TObject* o, double v) { set(o, static_cast<V>(v)); };
    } else if constexpr (std::is_pointer_v<V>) {
      using Obj = std::remove_pointer_t<V>;
      p.GetObj = [get](TObject* o) -> TObject* { return get(o); };
      if (set)
        p.SetObj = [set, n = p.Name](TObject* o, TObject* v) {
          Obj* typed = dynamic_cast<Obj*>(v);
          if (v && !typed) ThrowBadObject(n, Obj::StaticClass());
          set(o, typed);
        };
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V> || IsTSet<V>::value) {
      p.GetOrd = [get](TObject* o) { return ToOrd(get(o)); };
      if (set) p.SetOrd = [set](TObject* o, int64_t v) { set(o, FromOrd<V>(v)); };
    } else {
      p.GetMeth = [get](TObject* o) { return get(o).Method(); };
      if (set)
        p.SetMeth = [set, n = p.Name](TObject* o, const TMethod& m) {
          V typed = V::FromMethod(m);
          if (m.IsAssigned() && !typed.IsAssigned()) ThrowBadMethod(n);
          set(o, typed);
        };
    }
    return TPropBuilder<T>(table_.AddProp(std::move(p)));
  }

  TPropTable& table_;
  TClass owner_;
};

template <class T>
class TMetaClassOf final : public TMetaClass {
 public:
  using PublishFn = void (*)(TPublisher<T>&);
  TMetaClassOf(const char* name, TClass parent, PublishFn fn) : TMetaClass(name, parent), fn_(fn) {}

  TObject* Create(TComponent* owner) const override {
    if constexpr (std::is_abstract_v<T>) {
      (void)owner;
      throw EAbstractError("Cannot create an instance of the abstract class " + ClassName());
    } else if constexpr (std::is_constructible_v<T, TComponent*>) {
      return New<T>(owner);
    } else if constexpr (std::is_default_constructible_v<T>) {
      (void)owner;
      return New<T>();
    } else {
      (void)owner;
      throw EAbstractError("Class " + ClassName() + " cannot be created through its class reference");
    }
  }
  bool IsAbstract() const override { return std::is_abstract_v<T>; }
  bool IsInstance(const TObject* obj) const override { return dynamic_cast<const T*>(obj) != nullptr; }

 protected:
  void Publish(TPropTable& table) const override {
    if (!fn_) return;
    TPublisher<T> p(table, this);
    fn_(p);
  }

 private:
  PublishFn fn_;
};

// In the source file of a class that publishes nothing of its own.
#define IMPLEMENT_CLASS(Self)                                                          \
  TClass Self::StaticClass() {                                                         \
    static const TMetaClassOf<Self> mc(#Self, Self::inherited::StaticClass(), nullptr); \
    return &mc;                                                                        \
  }

// In the source file of a class that publishes: PUBLISHED(TFoo) { p.Prop(...); }
#define PUBLISHED(Self)                                                                      \
  static void Publish_##Self(TPublisher<Self>& p);                                           \
  TClass Self::StaticClass() {                                                               \
    static const TMetaClassOf<Self> mc(#Self, Self::inherited::StaticClass(), &Publish_##Self); \
    return &mc;                                                                              \
  }                                                                                          \
  static void Publish_##Self([[maybe_unused]] TPublisher<Self>& p)

// ---------------------------------------------------------------------------
// Access by name

DECLARE_EXCEPTION(EPropertyError, Exception);
DECLARE_EXCEPTION(EPropertyConvertError, Exception);

PPropInfo GetPropInfo(TClass cls, std::string_view name, TTypeKinds kinds = tkAny);
PPropInfo GetPropInfo(const TObject* obj, std::string_view name, TTypeKinds kinds = tkAny);
TPropList GetPropInfos(TClass cls);
int GetPropCount(TClass cls);
bool IsPublishedProp(const TObject* obj, std::string_view name);
bool PropIsType(const TObject* obj, std::string_view name, TTypeKind kind);
TTypeKind PropType(const TObject* obj, std::string_view name);

bool IsStoredProp(TObject* obj, PPropInfo info);
// True when the property holds its default: the writer leaves it out.
bool IsDefaultPropValue(TObject* obj, PPropInfo info);

int64_t GetOrdProp(TObject* obj, PPropInfo info);
void SetOrdProp(TObject* obj, PPropInfo info, int64_t value);
std::string GetEnumProp(TObject* obj, PPropInfo info);
void SetEnumProp(TObject* obj, PPropInfo info, std::string_view value);
std::string GetSetProp(TObject* obj, PPropInfo info, bool brackets = false);
void SetSetProp(TObject* obj, PPropInfo info, std::string_view value);
std::string GetStrProp(TObject* obj, PPropInfo info);
void SetStrProp(TObject* obj, PPropInfo info, const std::string& value);
std::wstring GetWideStrProp(TObject* obj, PPropInfo info);
void SetWideStrProp(TObject* obj, PPropInfo info, const std::wstring& value);
double GetFloatProp(TObject* obj, PPropInfo info);
void SetFloatProp(TObject* obj, PPropInfo info, double value);
int64_t GetInt64Prop(TObject* obj, PPropInfo info);
void SetInt64Prop(TObject* obj, PPropInfo info, int64_t value);
TObject* GetObjectProp(TObject* obj, PPropInfo info);
void SetObjectProp(TObject* obj, PPropInfo info, TObject* value);
TMethod GetMethodProp(TObject* obj, PPropInfo info);
void SetMethodProp(TObject* obj, PPropInfo info, const TMethod& value);

// By name: raise EPropertyError when the property does not exist.
int64_t GetOrdProp(TObject* obj, std::string_view name);
void SetOrdProp(TObject* obj, std::string_view name, int64_t value);
std::string GetEnumProp(TObject* obj, std::string_view name);
void SetEnumProp(TObject* obj, std::string_view name, std::string_view value);
std::string GetSetProp(TObject* obj, std::string_view name, bool brackets = false);
void SetSetProp(TObject* obj, std::string_view name, std::string_view value);
std::string GetStrProp(TObject* obj, std::string_view name);
void SetStrProp(TObject* obj, std::string_view name, const std::string& value);
std::wstring GetWideStrProp(TObject* obj, std::string_view name);
void SetWideStrProp(TObject* obj, std::string_view name, const std::wstring& value);
double GetFloatProp(TObject* obj, std::string_view name);
void SetFloatProp(TObject* obj, std::string_view name, double value);
int64_t GetInt64Prop(TObject* obj, std::string_view name);
void SetInt64Prop(TObject* obj, std::string_view name, int64_t value);
TObject* GetObjectProp(TObject* obj, std::string_view name);
void SetObjectProp(TObject* obj, std::string_view name, TObject* value);
TMethod GetMethodProp(TObject* obj, std::string_view name);
void SetMethodProp(TObject* obj, std::string_view name, const TMethod& value);

std::string GetEnumName(const TTypeInfo* type, int64_t value);
// -1 when the name is not a value of the type.
int GetEnumValue(const TTypeInfo* type, std::string_view name);
// "[sdLeft,sdTop]" (or without brackets) from a set's bits.
std::string SetToString(const TTypeInfo* setType, int64_t value, bool brackets = false);
// Accepts the text with or without brackets and with blanks; raises
// EPropertyConvertError naming an unknown element.
int64_t StringToSet(const TTypeInfo* setType, std::string_view value);

// ---------------------------------------------------------------------------
// Ident maps: named integer values (clRed, crHandPoint) for named integer
// types, registered by the units that own the type.

struct TIdentMapEntry {
  int64_t Value;
  const char* Name;
};
using TIdentToInt = std::function<bool(std::string_view ident, int64_t& value)>;
using TIntToIdent = std::function<bool(int64_t value, std::string& ident)>;

bool IdentToInt(std::string_view ident, int64_t& value, const TIdentMapEntry* map, size_t count);
bool IntToIdent(int64_t value, std::string& ident, const TIdentMapEntry* map, size_t count);
void RegisterIntegerConsts(const TTypeInfo* type, TIdentToInt identToInt, TIntToIdent intToIdent);
TIdentToInt FindIdentToInt(const TTypeInfo* type);
TIntToIdent FindIntToIdent(const TTypeInfo* type);
