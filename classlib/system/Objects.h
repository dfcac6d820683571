// The root of the object model: TObject, class references, method pointers,
// sets, and the platform's basic arithmetic and 1-based string routines.
//
// Life of an object. C++ constructors and destructors never reach overrides,
// the platform's do. So an object is made by New<T>(...) (which runs
// AfterConstruction once the object is whole) and ended by Free() (which runs
// BeforeDestruction, then the virtual Destroy chain, and only then deletes).
// Every teardown that must reach overrides (destroying a window, notifying
// other components, freeing owned components) lives in a Destroy override
// that calls inherited::Destroy() last; C++ destructors release only the
// object's own plain members.
//
// A constructor that throws. C++ then runs the destructors of the parts that
// were built, from the most derived one down, and no override of the part
// that was not. The platform runs the destructor of such an object instead,
// so that what its constructors registered (an owner's list, a parent, a
// window, a thunk) is undone. Here a class with a Destroy override does the
// same in its C++ destructor, first thing:
//   ~TMyControl() override { DestroyUnfinished(); }
// For an object that Free never reached, the first such destructor runs the
// Destroy chain from that part down, while the part is still whole (its
// virtual calls reach its own overrides, not the unbuilt descendant's); the
// later ones do nothing. BeforeDestruction does not run for it, as
// AfterConstruction never did.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "classlib/Exceptions.h"

class TObject;
class TComponent;
class TMetaClass;
struct TTypeInfo;
class TPropTable;

// A class reference: the platform's "class of". Typed references
// (TComponentClass, TControlClass...) are the same pointer; Create checks.
using TClass = const TMetaClass*;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const;
  const std::string& ClassName() const;
  TClass ClassParent() const;
  bool InheritsFrom(TClass cls) const;
  bool ClassNameIs(std::string_view name) const;

  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}

  // Ends the object: BeforeDestruction, Destroy, delete. A second call while
  // the first is still tearing down does nothing.
  void Free();

 protected:
  // The teardown chain; overrides call inherited::Destroy() last.
  virtual void Destroy() {}
  bool IsFreeing() const noexcept { return freeing_; }
  // For the C++ destructor of a class with a Destroy override (see above):
  // runs Destroy when the object was never freed (a descendant's
  // constructor threw). An exception from it goes no further: the
  // constructor's own is already on its way.
  void DestroyUnfinished() noexcept;
  // Free in two steps, for an owner that must announce a removal before it
  // frees: ClaimFree marks obj as being freed, so that a Free of it made
  // meanwhile (by someone told of the removal) does nothing, and returns
  // false when obj is being freed already; FreeClaimed then runs the teardown
  // of a claimed object.
  static bool ClaimFree(TObject* obj) noexcept;
  static void FreeClaimed(TObject* obj);

 private:
  bool freeing_ = false;
};

// The class reference object. One exists per class of the hierarchy; it is
// made on first use (a function-local static), so no start-up order matters.
class TMetaClass {
 public:
  TMetaClass(const char* name, TClass parent);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  virtual ~TMetaClass();

  const std::string& ClassName() const noexcept { return name_; }
  TClass ClassParent() const noexcept { return parent_; }
  bool InheritsFrom(TClass cls) const noexcept;
  bool ClassNameIs(std::string_view name) const;

  // Makes an instance through the class's own constructor (with its owner
  // when the class takes one) and runs AfterConstruction. Abstract classes
  // raise EAbstractError.
  virtual TObject* Create(TComponent* owner = nullptr) const = 0;
  virtual bool IsAbstract() const = 0;
  // True for the object itself when it is an instance of this class or a
  // descendant (a checked downcast helper for typed class references).
  virtual bool IsInstance(const TObject* obj) const = 0;

  // The published properties, fields and methods, the parent's first.
  const TPropTable& Properties() const;

 protected:
  virtual void Publish(TPropTable& table) const = 0;

 private:
  std::string name_;
  TClass parent_;
  mutable std::unique_ptr<TPropTable> props_;
};

// Declares the class-reference members of a class; first thing in its body.
// Implement with IMPLEMENT_CLASS or PUBLISHED (TypInfo.h) in the source file.
#define DECLARE_CLASS(Self, Base)                             \
 public:                                                      \
  using inherited = Base;                                     \
  static TClass StaticClass();                                \
  TClass ClassType() const override { return StaticClass(); }

// Creates an instance of a class reference and checks it is a T.
template <class T>
T* CreateAs(TClass cls, TComponent* owner = nullptr);

// Makes an object and finishes its construction (AfterConstruction).
template <class T, class... A>
T* New(A&&... args) {
  T* obj = new T(std::forward<A>(args)...);
  try {
    obj->AfterConstruction();
  } catch (...) {
    obj->Free();
    throw;
  }
  return obj;
}

inline void FreeObject(TObject* obj) {
  if (obj) obj->Free();
}

template <class T>
void FreeAndNil(T*& obj) {
  T* tmp = obj;
  obj = nullptr;
  FreeObject(tmp);
}

struct TFreeDeleter {
  void operator()(TObject* obj) const { FreeObject(obj); }
};
// Sole ownership of a TObject outside the component tree (a temporary list,
// a helper object): ends it with Free, never with delete.
template <class T>
using Owned = std::unique_ptr<T, TFreeDeleter>;

template <class T, class... A>
Owned<T> MakeOwned(A&&... args) {
  return Owned<T>(New<T>(std::forward<A>(args)...));
}

// ---------------------------------------------------------------------------
// Method pointers
//
// A method pointer is an object plus one of its member functions. It is
// nullable and compares equal by identity (same object, same function), which
// window procedures and hooks rely on when they are swapped and restored. A
// mingw member-function pointer is 16 bytes; it is kept as raw bytes so that
// one untyped TMethod can carry any signature through the property tables.
struct TMethod {
  void* Data = nullptr;
  alignas(8) unsigned char Code[16] = {};
  // The typed trampoline and the signature's identity; set together.
  void* Invoker = nullptr;
  const TTypeInfo* Signature = nullptr;

  bool IsAssigned() const noexcept { return Invoker != nullptr; }
  explicit operator bool() const noexcept { return IsAssigned(); }
  // Object, code and signature; not the trampoline, which depends on the
  // class the method was named through: a virtual method named through the
  // base class or through the overriding class calls the same function, and
  // the platform, which resolves the address when the method pointer is made,
  // calls the two equal.
  bool SameCode(const TMethod& other) const noexcept {
    return Signature == other.Signature && std::memcmp(Code, other.Code, sizeof Code) == 0;
  }
  friend bool operator==(const TMethod& a, const TMethod& b) noexcept {
    return a.Data == b.Data && a.SameCode(b);
  }
};

template <class Sig>
class TClosure;

namespace typinfo_detail {
// The type record of a method signature (defined with the type records).
const TTypeInfo* MethodInfo(const std::type_info& sig);
}  // namespace typinfo_detail

// The identity of a closure's signature; defined here so that a closure
// needs nothing beyond this header.
template <class Sig>
const TTypeInfo* ClosureTypeInfo() {
  return typinfo_detail::MethodInfo(typeid(Sig));
}

template <class R, class... A>
class TClosure<R(A...)> {
 public:
  using Signature = R(A...);
  TClosure() = default;
  TClosure(std::nullptr_t) {}

  // The object may be of a class derived from the method's (a descendant
  // bound to an inherited method), as the platform's obj.Method allows.
  template <class O, class C>
    requires std::is_base_of_v<C, O>
  TClosure(O* obj, R (C::*fn)(A...)) {
    Bind(static_cast<C*>(obj), fn);
  }
  template <class O, class C>
    requires std::is_base_of_v<C, O>
  TClosure(const O* obj, R (C::*fn)(A...) const) {
    Bind(const_cast<C*>(static_cast<const C*>(obj)), fn);
  }

  // A method not yet bound to an object (a class's published method entry).
  template <class C>
  static TClosure Unbound(R (C::*fn)(A...)) {
    TClosure c;
    c.Set(static_cast<C*>(nullptr), fn);
    return c;
  }

  // Rebuilds a typed closure from an untyped one; the signature must match.
  static TClosure FromMethod(const TMethod& m) {
    TClosure c;
    if (m.IsAssigned() && m.Signature == ClosureTypeInfo<Signature>()) c.m_ = m;
    return c;
  }
  const TMethod& Method() const noexcept { return m_; }
  void* Data() const noexcept { return m_.Data; }

  explicit operator bool() const noexcept { return m_.IsAssigned(); }
  bool IsAssigned() const noexcept { return m_.IsAssigned(); }

  R operator()(A... args) const {
    auto inv = reinterpret_cast<R (*)(const TMethod&, A...)>(m_.Invoker);
    return inv(m_, std::forward<A>(args)...);
  }

  friend bool operator==(const TClosure& a, const TClosure& b) noexcept { return a.m_ == b.m_; }
  friend bool operator==(const TClosure& a, std::nullptr_t) noexcept { return !a.m_.IsAssigned(); }

 private:
  template <class C, class F>
  void Bind(C* obj, F fn) {
    static_assert(sizeof(F) <= sizeof(TMethod::Code), "member pointer larger than expected");
    if (!obj || !fn) return;
    Set(obj, fn);
  }
  template <class C, class F>
  void Set(C* obj, F fn) {
    m_.Data = static_cast<void*>(obj);
    std::memcpy(m_.Code, &fn, sizeof fn);
    m_.Invoker = reinterpret_cast<void*>(&Invoke<C, F>);
    m_.Signature = ClosureTypeInfo<Signature>();
  }
  template <class C, class F>
  static R Invoke(const TMethod& m, A... args) {
    F fn;
    std::memcpy(&fn, m.Code, sizeof fn);
    return (static_cast<C*>(m.Data)->*fn)(std::forward<A>(args)...);
  }

  TMethod m_;
};

using TNotifyEvent = TClosure<void(TObject* Sender)>;

// ---------------------------------------------------------------------------
// Sets of enumeration values (the platform's "set of"). Up to 64 members,
// ordinals 0 to 63; published sets keep to 32 so that their ordinal value
// fits an Integer. An element beyond them is in no set: Contains gives false,
// Exclude changes nothing, and putting it in raises ERangeError (a shift by
// 64 or more would be undefined and land on an arbitrary bit).
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return InRange(e) && (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    if (InRange(e)) bits_ &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet& operator+=(TSet o) { return *this = *this + o; }
  constexpr TSet& operator-=(TSet o) { return *this = *this - o; }
  constexpr TSet& operator*=(TSet o) { return *this = *this * o; }
  // Subset test, the platform's "<=".
  constexpr bool operator<=(TSet o) const { return (bits_ & ~o.bits_) == 0; }
  friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }

 private:
  static constexpr bool InRange(E e) {
    const auto n = static_cast<long long>(e);
    return n >= 0 && n < 64;
  }
  static constexpr uint64_t Bit(E e) {
    if (!InRange(e)) throw ERangeError("Set element out of range (" + std::to_string(static_cast<long long>(e)) + ")");
    return uint64_t{1} << static_cast<unsigned>(e);
  }
  uint64_t bits_ = 0;
};

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {
  using Element = E;
};

template <class T>
T* CreateAs(TClass cls, TComponent* owner) {
  TObject* obj = cls->Create(owner);
  if (T* t = dynamic_cast<T*>(obj)) return t;
  obj->Free();
  throw EInvalidCast("Invalid class typecast: " + cls->ClassName() + " is not a " +
                     T::StaticClass()->ClassName());
}

// ---------------------------------------------------------------------------
// Arithmetic with the platform's rules.

// Banker's rounding: halves go to the even neighbour (Round(2.5) = 2).
// Round and Trunc raise EInvalidOp "Invalid floating point operation" for
// NaN, infinities and results beyond the Int64 range, as the platform's FPU
// does; a plain conversion would be undefined.
int64_t Round(double x);
int64_t Trunc(double x);
double Frac(double x);
double Int(double x);
// MulDiv is the Win32 function itself (rounds half away from zero, -1 on a
// zero divisor or overflow), as on the platform.

// The platform's linear congruential generator, so that a seed gives the same
// sequence as the platform: RandSeed = RandSeed * 0x08088405 + 1.
uint32_t GetRandSeed();
void SetRandSeed(uint32_t seed);
void Randomize();
// 0 <= result < range; Random(0) = 0.
int Random(int range);
double Random();

// ---------------------------------------------------------------------------
// 1-based string routines (AnsiString and WideString alike).

template <class S>
S Copy(const S& s, int64_t index, int64_t count) {
  int64_t n = static_cast<int64_t>(s.size());
  if (index < 1) index = 1;
  if (count <= 0 || index > n) return S();
  if (count > n - index + 1) count = n - index + 1;
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}
inline std::string Copy(const char* s, int64_t index, int64_t count) {
  return Copy(std::string(s), index, count);
}

// Position of the first occurrence of sub in s, from 1; 0 when absent or
// when sub is empty.
template <class S>
int Pos(const S& sub, const S& s) {
  if (sub.empty()) return 0;
  size_t p = s.find(sub);
  return p == S::npos ? 0 : static_cast<int>(p) + 1;
}
inline int Pos(const std::string& sub, const std::string& s) { return Pos<std::string>(sub, s); }
inline int Pos(char c, const std::string& s) { return Pos(std::string(1, c), s); }
inline int Pos(const std::wstring& sub, const std::wstring& s) { return Pos<std::wstring>(sub, s); }

template <class S>
void Delete(S& s, int64_t index, int64_t count) {
  int64_t n = static_cast<int64_t>(s.size());
  if (index < 1 || index > n || count <= 0) return;
  if (count > n - index + 1) count = n - index + 1;
  s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

// Inserts source before position index of s; an index past the end appends,
// an index below 1 inserts at the start.
template <class S>
void Insert(const S& source, S& s, int64_t index) {
  int64_t n = static_cast<int64_t>(s.size());
  if (index < 1) index = 1;
  if (index > n + 1) index = n + 1;
  s.insert(static_cast<size_t>(index - 1), source);
}

// Case-insensitive ASCII comparison used by names (properties, classes,
// components), which the platform matches without regard to case.
bool SameName(std::string_view a, std::string_view b);

// UTF-16 to UTF-8 and back (the platform's UTF8Encode/UTF8Decode; a
// UTF8String is a std::string). Characters beyond the BMP travel as
// surrogate pairs. Decoding never fails: each ill-formed part of the bytes
// (its maximal subpart) becomes one U+FFFD and the rest of the text is kept.
std::string UTF8Encode(std::wstring_view s);
std::wstring UTF8Decode(std::string_view s);
