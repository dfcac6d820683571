#include "classlib/typinfo/PropTables.h"

#include "classlib/SysUtils.h"

#include <algorithm>
#include <memory>

namespace typinfo_detail {

const TTypeInfo* Ordinal(const char* name, TOrdType ot, int64_t lo, int64_t hi, TTypeKind kind) {
  // One record per distinct ordinal type; a small fixed set, built on demand.
  static std::deque<TTypeInfo> infos;
  for (const TTypeInfo& t : infos)
    if (t.Name == name && t.Kind == kind) return &t;
  TTypeInfo t;
  t.Kind = kind;
  t.Name = name;
  t.OrdType = ot;
  t.MinValue = lo;
  t.MaxValue = hi;
  infos.push_back(std::move(t));
  return &infos.back();
}

const TTypeInfo* Int64Info() {
  static const TTypeInfo t = [] {
    TTypeInfo i;
    i.Kind = tkInt64;
    i.Name = "Int64";
    i.MinValue = INT64_MIN;
    i.MaxValue = INT64_MAX;
    return i;
  }();
  return &t;
}

const TTypeInfo* FloatInfo(TFloatType ft) {
  static const TTypeInfo infos[] = {
      [] { TTypeInfo i; i.Kind = tkFloat; i.Name = "Single"; i.FloatType = ftSingle; return i; }(),
      [] { TTypeInfo i; i.Kind = tkFloat; i.Name = "Double"; i.FloatType = ftDouble; return i; }(),
      [] { TTypeInfo i; i.Kind = tkFloat; i.Name = "Extended"; i.FloatType = ftExtended; return i; }(),
  };
  return &infos[ft == ftSingle ? 0 : ft == ftDouble ? 1 : 2];
}

const TTypeInfo* AnsiStringInfo() {
  static const TTypeInfo t = [] { TTypeInfo i; i.Kind = tkLString; i.Name = "AnsiString"; return i; }();
  return &t;
}

const TTypeInfo* WideStringInfo() {
  static const TTypeInfo t = [] { TTypeInfo i; i.Kind = tkWString; i.Name = "WideString"; return i; }();
  return &t;
}

const TTypeInfo* BooleanInfo() {
  static const TTypeInfo t = MakeEnumTypeInfo("Boolean", {"False", "True"});
  return &t;
}

const TTypeInfo* ClassInfo(TClass cls) {
  static std::map<TClass, std::unique_ptr<TTypeInfo>> infos;
  auto& slot = infos[cls];
  if (!slot) {
    slot = std::make_unique<TTypeInfo>();
    slot->Kind = tkClass;
    slot->Name = cls->ClassName();
    slot->ClassType = cls;
  }
  return slot.get();
}

const TTypeInfo* SetInfo(const TTypeInfo* element) {
  static std::map<const TTypeInfo*, std::unique_ptr<TTypeInfo>> infos;
  auto& slot = infos[element];
  if (!slot) {
    slot = std::make_unique<TTypeInfo>();
    slot->Kind = tkSet;
    slot->Name = "set of " + element->Name;
    slot->CompType = element;
    slot->OrdType = otULong;
  }
  return slot.get();
}

const TTypeInfo* MethodInfo(const std::type_info& sig) {
  // Keyed by the mangled name, not the type_info address: statically linked
  // units may hold distinct type_info objects for one signature.
  static std::map<std::string, std::unique_ptr<TTypeInfo>> infos;
  auto& slot = infos[sig.name()];
  if (!slot) {
    slot = std::make_unique<TTypeInfo>();
    slot->Kind = tkMethod;
    slot->Name = sig.name();
  }
  return slot.get();
}

void ThrowBadObject(const std::string& prop, TClass wanted) {
  throw EPropertyError("Invalid property value: " + prop + " needs a " + wanted->ClassName());
}

void ThrowBadMethod(const std::string& prop) {
  throw EPropertyError("Invalid property value: the method does not fit the event " + prop);
}

}  // namespace typinfo_detail

const TTypeInfo* MakeIntegerTypeInfo(const char* name, int64_t minValue, int64_t maxValue) {
  return typinfo_detail::Ordinal(name, minValue < 0 ? otSLong : otULong, minValue, maxValue);
}

TTypeInfo MakeEnumTypeInfo(const char* name, std::initializer_list<const char*> names) {
  TTypeInfo t;
  t.Kind = tkEnumeration;
  t.Name = name;
  t.OrdType = names.size() <= 256 ? otUByte : otUWord;
  for (const char* n : names) t.EnumNames.emplace_back(n);
  t.MinValue = 0;
  t.MaxValue = static_cast<int64_t>(t.EnumNames.size()) - 1;
  return t;
}

// ---------------------------------------------------------------------------

PPropInfo TPropTable::Find(std::string_view name) const {
  for (PPropInfo p : props_)
    if (SameName(p->Name, name)) return p;
  return nullptr;
}

const TFieldEntry* TPropTable::FindField(std::string_view name) const {
  for (const TFieldEntry* f : fields_)
    if (SameName(f->Name, name)) return f;
  return nullptr;
}

const TMethodEntry* TPropTable::FindMethod(std::string_view name) const {
  for (const TMethodEntry* m : methods_)
    if (SameName(m->Name, name)) return m;
  return nullptr;
}

const TMethodEntry* TPropTable::FindMethodByCode(const TMethod& m) const {
  for (const TMethodEntry* e : methods_)
    if (e->Code.SameCode(m)) return e;
  return nullptr;
}

void TPropTable::InheritFrom(const TPropTable& parent) {
  props_ = parent.props_;
  fields_ = parent.fields_;
  methods_ = parent.methods_;
}

TPropInfo& TPropTable::AddProp(TPropInfo info) {
  auto same = std::find_if(props_.begin(), props_.end(),
                           [&](PPropInfo p) { return SameName(p->Name, info.Name); });
  info.NameIndex = same != props_.end() ? static_cast<int>(same - props_.begin())
                                        : static_cast<int>(props_.size());
  ownProps_.push_back(std::move(info));
  TPropInfo& added = ownProps_.back();
  if (same != props_.end()) *same = &added;
  else props_.push_back(&added);
  return added;
}

void TPropTable::AddField(TFieldEntry f) {
  ownFields_.push_back(std::move(f));
  const TFieldEntry* added = &ownFields_.back();
  auto same = std::find_if(fields_.begin(), fields_.end(),
                           [&](const TFieldEntry* e) { return SameName(e->Name, added->Name); });
  if (same != fields_.end()) *same = added;
  else fields_.push_back(added);
}

void TPropTable::AddMethod(TMethodEntry m) {
  ownMethods_.push_back(std::move(m));
  const TMethodEntry* added = &ownMethods_.back();
  auto same = std::find_if(methods_.begin(), methods_.end(),
                           [&](const TMethodEntry* e) { return SameName(e->Name, added->Name); });
  if (same != methods_.end()) *same = added;
  else methods_.push_back(added);
}

// ---------------------------------------------------------------------------

PPropInfo GetPropInfo(TClass cls, std::string_view name, TTypeKinds kinds) {
  if (!cls) return nullptr;
  PPropInfo p = cls->Properties().Find(name);
  if (p && !kinds.Contains(p->PropType->Kind)) return nullptr;
  return p;
}

PPropInfo GetPropInfo(const TObject* obj, std::string_view name, TTypeKinds kinds) {
  return obj ? GetPropInfo(obj->ClassType(), name, kinds) : nullptr;
}

TPropList GetPropInfos(TClass cls) { return cls ? cls->Properties().Props() : TPropList{}; }
int GetPropCount(TClass cls) { return cls ? static_cast<int>(cls->Properties().Props().size()) : 0; }
bool IsPublishedProp(const TObject* obj, std::string_view name) { return GetPropInfo(obj, name) != nullptr; }

namespace {
PPropInfo Require(const TObject* obj, std::string_view name) {
  PPropInfo p = GetPropInfo(obj, name);
  if (!p) throw EPropertyError("Unknown property: '" + std::string(name) + "'");
  return p;
}

[[noreturn]] void ThrowKind(PPropInfo info, const char* wanted) {
  throw EPropertyError("Property " + info->Name + " is not of " + wanted + " type");
}

[[noreturn]] void ThrowReadOnly(PPropInfo info) {
  throw EPropertyError("Property " + info->Name + " is read-only");
}
}  // namespace

bool PropIsType(const TObject* obj, std::string_view name, TTypeKind kind) {
  return Require(obj, name)->PropType->Kind == kind;
}
TTypeKind PropType(const TObject* obj, std::string_view name) { return Require(obj, name)->PropType->Kind; }

bool IsStoredProp(TObject* obj, PPropInfo info) {
  if (info->Stored) return info->Stored(obj);
  return info->StoredConst;
}

bool IsDefaultPropValue(TObject* obj, PPropInfo info) {
  switch (info->PropType->Kind) {
    case tkInteger: case tkChar: case tkEnumeration: case tkSet: case tkWChar:
      return info->Default != kNoDefault && info->GetOrd && info->GetOrd(obj) == info->Default;
    case tkInt64:
      return info->GetOrd && info->GetOrd(obj) == 0;
    case tkFloat:
      return info->GetFloat && info->GetFloat(obj) == 0.0;
    case tkLString: case tkString:
      return info->GetLStr && info->GetLStr(obj).empty();
    case tkWString:
      return info->GetWStr && info->GetWStr(obj).empty();
    case tkMethod:
      return info->GetMeth && !info->GetMeth(obj).IsAssigned();
    case tkClass:
      return info->GetObj && info->GetObj(obj) == nullptr;
    default:
      return false;
  }
}

int64_t GetOrdProp(TObject* obj, PPropInfo info) {
  if (!info->GetOrd) ThrowKind(info, "ordinal");
  return info->GetOrd(obj);
}
void SetOrdProp(TObject* obj, PPropInfo info, int64_t value) {
  if (!info->GetOrd) ThrowKind(info, "ordinal");
  if (!info->SetOrd) ThrowReadOnly(info);
  info->SetOrd(obj, value);
}

std::string GetEnumProp(TObject* obj, PPropInfo info) {
  return GetEnumName(info->PropType, GetOrdProp(obj, info));
}
void SetEnumProp(TObject* obj, PPropInfo info, std::string_view value) {
  int v = GetEnumValue(info->PropType, value);
  if (v < 0) throw EPropertyConvertError("Invalid enumeration name: " + std::string(value));
  SetOrdProp(obj, info, v);
}

std::string GetSetProp(TObject* obj, PPropInfo info, bool brackets) {
  if (info->PropType->Kind != tkSet) ThrowKind(info, "set");
  return SetToString(info->PropType, GetOrdProp(obj, info), brackets);
}
void SetSetProp(TObject* obj, PPropInfo info, std::string_view value) {
  if (info->PropType->Kind != tkSet) ThrowKind(info, "set");
  SetOrdProp(obj, info, StringToSet(info->PropType, value));
}

std::string GetStrProp(TObject* obj, PPropInfo info) {
  if (info->GetLStr) return info->GetLStr(obj);
  if (info->GetWStr) {
    return WideToAnsi(info->GetWStr(obj));
  }
  ThrowKind(info, "string");
}
void SetStrProp(TObject* obj, PPropInfo info, const std::string& value) {
  if (info->GetLStr) {
    if (!info->SetLStr) ThrowReadOnly(info);
    info->SetLStr(obj, value);
    return;
  }
  if (info->GetWStr) {
    if (!info->SetWStr) ThrowReadOnly(info);
    info->SetWStr(obj, AnsiToWide(value));
    return;
  }
  ThrowKind(info, "string");
}

std::wstring GetWideStrProp(TObject* obj, PPropInfo info) {
  if (info->GetWStr) return info->GetWStr(obj);
  if (info->GetLStr) {
    return AnsiToWide(info->GetLStr(obj));
  }
  ThrowKind(info, "string");
}
void SetWideStrProp(TObject* obj, PPropInfo info, const std::wstring& value) {
  if (info->GetWStr) {
    if (!info->SetWStr) ThrowReadOnly(info);
    info->SetWStr(obj, value);
    return;
  }
  if (info->GetLStr) {
    if (!info->SetLStr) ThrowReadOnly(info);
    info->SetLStr(obj, WideToAnsi(value));
    return;
  }
  ThrowKind(info, "string");
}

double GetFloatProp(TObject* obj, PPropInfo info) {
  if (!info->GetFloat) ThrowKind(info, "float");
  return info->GetFloat(obj);
}
void SetFloatProp(TObject* obj, PPropInfo info, double value) {
  if (!info->GetFloat) ThrowKind(info, "float");
  if (!info->SetFloat) ThrowReadOnly(info);
  info->SetFloat(obj, value);
}

int64_t GetInt64Prop(TObject* obj, PPropInfo info) { return GetOrdProp(obj, info); }
void SetInt64Prop(TObject* obj, PPropInfo info, int64_t value) { SetOrdProp(obj, info, value); }

TObject* GetObjectProp(TObject* obj, PPropInfo info) {
  if (!info->GetObj) ThrowKind(info, "class");
  return info->GetObj(obj);
}
void SetObjectProp(TObject* obj, PPropInfo info, TObject* value) {
  if (!info->GetObj) ThrowKind(info, "class");
  if (!info->SetObj) ThrowReadOnly(info);
  info->SetObj(obj, value);
}

TMethod GetMethodProp(TObject* obj, PPropInfo info) {
  if (!info->GetMeth) ThrowKind(info, "method");
  return info->GetMeth(obj);
}
void SetMethodProp(TObject* obj, PPropInfo info, const TMethod& value) {
  if (!info->GetMeth) ThrowKind(info, "method");
  if (!info->SetMeth) ThrowReadOnly(info);
  info->SetMeth(obj, value);
}

int64_t GetOrdProp(TObject* obj, std::string_view n) { return GetOrdProp(obj, Require(obj, n)); }
void SetOrdProp(TObject* obj, std::string_view n, int64_t v) { SetOrdProp(obj, Require(obj, n), v); }
std::string GetEnumProp(TObject* obj, std::string_view n) { return GetEnumProp(obj, Require(obj, n)); }
void SetEnumProp(TObject* obj, std::string_view n, std::string_view v) { SetEnumProp(obj, Require(obj, n), v); }
std::string GetSetProp(TObject* obj, std::string_view n, bool b) { return GetSetProp(obj, Require(obj, n), b); }
void SetSetProp(TObject* obj, std::string_view n, std::string_view v) { SetSetProp(obj, Require(obj, n), v); }
std::string GetStrProp(TObject* obj, std::string_view n) { return GetStrProp(obj, Require(obj, n)); }
void SetStrProp(TObject* obj, std::string_view n, const std::string& v) { SetStrProp(obj, Require(obj, n), v); }
std::wstring GetWideStrProp(TObject* obj, std::string_view n) { return GetWideStrProp(obj, Require(obj, n)); }
void SetWideStrProp(TObject* obj, std::string_view n, const std::wstring& v) { SetWideStrProp(obj, Require(obj, n), v); }
double GetFloatProp(TObject* obj, std::string_view n) { return GetFloatProp(obj, Require(obj, n)); }
void SetFloatProp(TObject* obj, std::string_view n, double v) { SetFloatProp(obj, Require(obj, n), v); }
int64_t GetInt64Prop(TObject* obj, std::string_view n) { return GetInt64Prop(obj, Require(obj, n)); }
void SetInt64Prop(TObject* obj, std::string_view n, int64_t v) { SetInt64Prop(obj, Require(obj, n), v); }
TObject* GetObjectProp(TObject* obj, std::string_view n) { return GetObjectProp(obj, Require(obj, n)); }
void SetObjectProp(TObject* obj, std::string_view n, TObject* v) { SetObjectProp(obj, Require(obj, n), v); }
TMethod GetMethodProp(TObject* obj, std::string_view n) { return GetMethodProp(obj, Require(obj, n)); }
void SetMethodProp(TObject* obj, std::string_view n, const TMethod& v) { SetMethodProp(obj, Require(obj, n), v); }

std::string GetEnumName(const TTypeInfo* type, int64_t value) {
  if (type->Kind == tkEnumeration) {
    if (value >= 0 && value < static_cast<int64_t>(type->EnumNames.size()))
      return type->EnumNames[static_cast<size_t>(value)];
    return {};
  }
  return std::to_string(value);
}

int GetEnumValue(const TTypeInfo* type, std::string_view name) {
  if (type->Kind != tkEnumeration) return -1;
  for (size_t i = 0; i < type->EnumNames.size(); ++i)
    if (SameName(type->EnumNames[i], name)) return static_cast<int>(i);
  return -1;
}

std::string SetToString(const TTypeInfo* setType, int64_t value, bool brackets) {
  const TTypeInfo* comp = setType->Kind == tkSet ? setType->CompType : setType;
  std::string out;
  uint64_t bits = static_cast<uint64_t>(value);
  for (int i = 0; i < 64; ++i) {
    if (!(bits & (uint64_t{1} << i))) continue;
    if (!out.empty()) out += ',';
    std::string n = GetEnumName(comp, i);
    out += n.empty() ? std::to_string(i) : n;
  }
  return brackets ? "[" + out + "]" : out;
}

int64_t StringToSet(const TTypeInfo* setType, std::string_view value) {
  const TTypeInfo* comp = setType->Kind == tkSet ? setType->CompType : setType;
  const std::string text = Trim(std::string(value));
  std::string_view body = text;
  if (!body.empty() && body.front() == '[') {
    if (body.back() != ']') throw EPropertyConvertError("Invalid property element: " + std::string(value));
    body = body.substr(1, body.size() - 2);
  }
  uint64_t bits = 0;
  size_t i = 0;
  while (i <= body.size()) {
    size_t comma = body.find(',', i);
    if (comma == std::string_view::npos) comma = body.size();
    const std::string item = Trim(std::string(body.substr(i, comma - i)));
    if (!item.empty()) {
      int v = GetEnumValue(comp, item);
      if (v < 0 || v >= 64) throw EPropertyConvertError("Invalid property element: " + std::string(item));
      bits |= uint64_t{1} << v;
    } else if (comma < body.size()) {
      throw EPropertyConvertError("Invalid property element: " + std::string(value));
    }
    i = comma + 1;
  }
  return static_cast<int64_t>(bits);
}

// ---------------------------------------------------------------------------

bool IdentToInt(std::string_view ident, int64_t& value, const TIdentMapEntry* map, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (SameName(map[i].Name, ident)) {
      value = map[i].Value;
      return true;
    }
  return false;
}

bool IntToIdent(int64_t value, std::string& ident, const TIdentMapEntry* map, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (map[i].Value == value) {
      ident = map[i].Name;
      return true;
    }
  return false;
}

namespace {
struct TIntConsts {
  TIdentToInt toInt;
  TIntToIdent toIdent;
};
// Registered by the units that own the types, during their initialisation.
std::map<const TTypeInfo*, TIntConsts>& IntConstMap() {
  static std::map<const TTypeInfo*, TIntConsts> m;
  return m;
}
}  // namespace

void RegisterIntegerConsts(const TTypeInfo* type, TIdentToInt identToInt, TIntToIdent intToIdent) {
  IntConstMap()[type] = {std::move(identToInt), std::move(intToIdent)};
}

TIdentToInt FindIdentToInt(const TTypeInfo* type) {
  auto it = IntConstMap().find(type);
  return it == IntConstMap().end() ? TIdentToInt{} : it->second.toInt;
}

TIntToIdent FindIntToIdent(const TTypeInfo* type) {
  auto it = IntConstMap().find(type);
  return it == IntConstMap().end() ? TIntToIdent{} : it->second.toIdent;
}
