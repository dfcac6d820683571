#include "classlib/system/Objects.h"

#include <cmath>

#include "classlib/TypInfo.h"
#include "classlib/Win.h"

TClass TObject::StaticClass() {
  static const TMetaClassOf<TObject> mc("TObject", nullptr, nullptr);
  return &mc;
}

TClass TObject::ClassType() const { return StaticClass(); }
const std::string& TObject::ClassName() const { return ClassType()->ClassName(); }
TClass TObject::ClassParent() const { return ClassType()->ClassParent(); }
bool TObject::InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }
bool TObject::ClassNameIs(std::string_view name) const { return ClassType()->ClassNameIs(name); }

void TObject::Free() {
  if (ClaimFree(this)) FreeClaimed(this);
}

bool TObject::ClaimFree(TObject* obj) noexcept {
  if (obj->freeing_) return false;
  obj->freeing_ = true;
  return true;
}

void TObject::FreeClaimed(TObject* obj) {
  obj->BeforeDestruction();
  obj->Destroy();
  delete obj;
}

void TObject::DestroyUnfinished() noexcept {
  if (freeing_) return;
  freeing_ = true;
  try {
    Destroy();
  } catch (...) {
  }
}

TMetaClass::TMetaClass(const char* name, TClass parent) : name_(name), parent_(parent) {}
TMetaClass::~TMetaClass() = default;

bool TMetaClass::InheritsFrom(TClass cls) const noexcept {
  for (TClass c = this; c; c = c->parent_)
    if (c == cls) return true;
  return false;
}

bool TMetaClass::ClassNameIs(std::string_view name) const { return SameName(name_, name); }

const TPropTable& TMetaClass::Properties() const {
  if (!props_) {
    auto table = std::make_unique<TPropTable>();
    if (parent_) table->InheritFrom(parent_->Properties());
    Publish(*table);
    props_ = std::move(table);
  }
  return *props_;
}

// ---------------------------------------------------------------------------

namespace {
// A whole double as Int64; outside [-2^63, 2^63) (and for NaN) there is none.
int64_t WholeToInt64(double whole) {
  if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
    throw EInvalidOp("Invalid floating point operation");
  return static_cast<int64_t>(whole);
}
}  // namespace

int64_t Round(double x) { return WholeToInt64(std::nearbyint(x)); }
int64_t Trunc(double x) { return WholeToInt64(std::trunc(x)); }
double Frac(double x) { return x - std::trunc(x); }
double Int(double x) { return std::trunc(x); }

namespace {
// The platform's generator is process-wide state by design: a seed set once
// reproduces the whole sequence.
uint32_t gRandSeed = 0;

uint32_t NextRand() {
  gRandSeed = gRandSeed * 0x08088405u + 1u;
  return gRandSeed;
}
}  // namespace

uint32_t GetRandSeed() { return gRandSeed; }
void SetRandSeed(uint32_t seed) { gRandSeed = seed; }
void Randomize() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  gRandSeed = static_cast<uint32_t>(c.QuadPart);
}

int Random(int range) {
  uint32_t r = NextRand();
  if (range <= 0) return 0;
  return static_cast<int>((uint64_t{r} * static_cast<uint32_t>(range)) >> 32);
}

double Random() { return NextRand() * (1.0 / 4294967296.0); }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string UTF8Encode(std::wstring_view s) {
  if (s.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

namespace {

// What a byte can begin: the length of the sequence and the range of its
// second byte. E0 and F0 refuse the second bytes of overlong forms, ED those
// of encoded surrogates, F4 those above U+10FFFF; every later byte is 80..BF.
// Length 0: the byte begins nothing (80..BF, C0, C1, F5..FF).
struct TUtf8Lead {
  size_t Length;
  unsigned char Low, High;
};

TUtf8Lead Utf8Lead(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

}  // namespace

// Our own decoder rather than MultiByteToWideChar: with MB_ERR_INVALID_CHARS
// one bad byte fails the whole text, and without it the number of U+FFFD a
// bad sequence gives differs between Windows versions and Wine. Here each
// maximal ill-formed subpart (the longest start of a sequence that could still
// have become well-formed, or else the one byte) becomes one U+FFFD, as
// Unicode recommends and Windows does since Vista, and decoding goes on at
// the byte that broke the sequence.
std::wstring UTF8Decode(std::string_view s) {
  std::wstring out;
  out.reserve(s.size());
  const size_t n = s.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    const TUtf8Lead lead = Utf8Lead(b);
    uint32_t cp = b & (0x7Fu >> lead.Length);
    size_t len = 1;
    bool whole = lead.Length > 0;
    while (whole && len < lead.Length) {
      const unsigned char c = i + len < n ? static_cast<unsigned char>(s[i + len]) : 0;
      const unsigned char low = len == 1 ? lead.Low : 0x80, high = len == 1 ? lead.High : 0xBF;
      if (c < low || c > high) {
        whole = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3Fu);
      ++len;
    }
    i += len;
    if (!whole) {
      out += L'\uFFFD';
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
  }
  return out;
}
