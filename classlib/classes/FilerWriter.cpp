// The stored-form writer: the text form with the platform's layout (two
// spaces per level, list values one per line, long strings split with "+").
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <type_traits>

#include "classlib/classes/Collection.h"
#include "classlib/classes/Filer.h"
#include "classlib/classes/Streams.h"

namespace {

// The owning component (TComponent's GetOwner, not TPersistent's).
TComponent* OwnerOf(const TComponent* c) { return c->GetOwner(); }

// Characters of a string value per line; longer values go on with " +".
constexpr size_t kLineChars = 64;
// Bytes of a binary value per line (two hex digits each).
constexpr size_t kBinaryBytesPerLine = 32;

bool Printable(unsigned c) { return c >= 32 && c <= 126; }

// 'quoted' runs for printable characters, #n codes for the others. In a
// wide string that holds no character above #255, the codes #128..#255 are
// written with four digits (#0233) so that the reader keeps it wide.
template <class S>
std::string Render(const S& chunk, bool padLatin) {
  std::string r;
  bool quoted = false;
  for (auto ch : chunk) {
    unsigned c = static_cast<unsigned>(static_cast<std::make_unsigned_t<typename S::value_type>>(ch));
    if (Printable(c)) {
      if (!quoted) {
        r += '\'';
        quoted = true;
      }
      r += static_cast<char>(c);
      if (c == '\'') r += '\'';
    } else {
      if (quoted) {
        r += '\'';
        quoted = false;
      }
      std::string n = std::to_string(c);
      if (padLatin && c >= 128 && c <= 255) n.insert(0, 4 - n.size(), '0');
      r += '#' + n;
    }
  }
  if (quoted) r += '\'';
  return r;
}

bool SameMethodCode(const TMethod& a, const TMethod& b) {
  if (!a.IsAssigned() || !b.IsAssigned()) return a.IsAssigned() == b.IsAssigned();
  return a.SameCode(b);
}

}  // namespace

IMPLEMENT_CLASS(TWriter)

TWriter::TWriter(TStream* stream)
    : TFiler(stream), uncaughtAtStart_(std::uncaught_exceptions()) {}

void TWriter::Destroy() {
  // A writer freed while an exception leaves keeps its half-written text.
  if (std::uncaught_exceptions() <= uncaughtAtStart_) {
    try {
      FlushBuffer();
    } catch (...) {
    }
  }
  inherited::Destroy();
}

void TWriter::FlushBuffer() {
  if (!stream_ || out_.empty()) return;
  stream_->WriteBuffer(out_.data(), static_cast<int>(out_.size()));
  out_.clear();
}

void TWriter::NewLine(int indent) {
  if (anyLine_) out_ += "\r\n";
  anyLine_ = true;
  out_.append(static_cast<size_t>(indent), ' ');
}

int TWriter::ValueIndent() const {
  if (afterName_ || lists_.empty()) return indent_;
  return lists_.back().indent;
}

void TWriter::BeginValue() {
  if (afterName_) {
    afterName_ = false;
    return;
  }
  // Each value of a list goes on a line of its own.
  if (!lists_.empty()) NewLine(lists_.back().indent);
}

void TWriter::WritePropName(const std::string& name) {
  NewLine(indent_);
  out_ += propPath_;
  out_ += name;
  out_ += " = ";
  afterName_ = true;
  ++written_;
}

// --- Values -----------------------------------------------------------------

void TWriter::WriteBoolean(bool value) { WriteIdent(value ? "True" : "False"); }
void TWriter::WriteChar(char value) { WriteString(std::string(1, value)); }
void TWriter::WriteWideChar(wchar_t value) { WriteWideString(std::wstring(1, value)); }

void TWriter::WriteInteger(int64_t value) {
  BeginValue();
  out_ += std::to_string(value);
}

void TWriter::WriteInt64(int64_t value) { WriteInteger(value); }

void TWriter::WriteFloatText(double value, bool single, char suffix) {
  if (!std::isfinite(value)) throw EWriteError("Cannot write a floating-point value that is not finite");
  char buf[64];
  // The shortest text that reads back to the same value.
  auto r = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(value))
                  : std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, r.ptr);
  size_t e = s.find('e');
  if (e != std::string::npos) {
    // "1e+300" and "2.5e-07" are written "1E300" and "2.5E-7".
    s[e] = 'E';
    size_t d = e + 1;
    if (s[d] == '+') s.erase(d, 1);
    else if (s[d] == '-') ++d;
    while (d + 1 < s.size() && s[d] == '0') s.erase(d, 1);
  }
  // Always a float to the reader, even when the value is whole.
  if (s.find('.') == std::string::npos && e == std::string::npos) s += ".0";
  if (suffix) s += suffix;
  BeginValue();
  out_ += s;
}

void TWriter::WriteFloat(double value) { WriteFloatText(value, false, 0); }
void TWriter::WriteSingle(float value) { WriteFloatText(value, true, 's'); }
void TWriter::WriteCurrency(double value) { WriteFloatText(value, false, 'c'); }
void TWriter::WriteDate(double value) { WriteFloatText(value, false, 'd'); }

void TWriter::WriteString(const std::string& value) {
  int base = ValueIndent();
  BeginValue();
  if (value.empty()) {
    out_ += "''";
    return;
  }
  for (size_t i = 0; i < value.size(); i += kLineChars) {
    if (i) {
      out_ += " +";
      NewLine(base + 2);
    }
    out_ += Render(value.substr(i, kLineChars), false);
  }
}

void TWriter::WriteWideString(const std::wstring& value) {
  bool ascii = std::all_of(value.begin(), value.end(), [](wchar_t c) { return c < 128; });
  if (ascii) {
    // Plain text reads back as an ANSI value, which widens to the same.
    WriteString(std::string(value.begin(), value.end()));
    return;
  }
  bool above255 = std::any_of(value.begin(), value.end(), [](wchar_t c) { return c > 255; });
  int base = ValueIndent();
  BeginValue();
  for (size_t i = 0; i < value.size(); i += kLineChars) {
    if (i) {
      out_ += " +";
      NewLine(base + 2);
    }
    out_ += Render(value.substr(i, kLineChars), !above255);
  }
}

void TWriter::WriteIdent(const std::string& ident) {
  BeginValue();
  out_ += ident;
}

void TWriter::WriteSet(const TTypeInfo* setType, int64_t value) {
  const TTypeInfo* comp = setType->Kind == tkSet ? setType->CompType : setType;
  std::string s = "[";
  uint64_t bits = static_cast<uint64_t>(value);
  bool first = true;
  for (int i = 0; i < 64; ++i) {
    if (!(bits & (uint64_t{1} << i))) continue;
    std::string name = GetEnumName(comp, i);
    if (name.empty() || comp->Kind != tkEnumeration) continue;
    if (!first) s += ", ";
    s += name;
    first = false;
  }
  s += ']';
  BeginValue();
  out_ += s;
}

void TWriter::WriteBinary(const void* data, size_t size) {
  int base = ValueIndent();
  BeginValue();
  out_ += '{';
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; i += kBinaryBytesPerLine) {
    NewLine(base + 2);
    out_ += BinToHex(p + i, std::min(size - i, kBinaryBytesPerLine));
  }
  out_ += '}';
}

void TWriter::WriteListBegin() {
  int base = ValueIndent();
  BeginValue();
  out_ += '(';
  lists_.push_back({base + 2});
}

void TWriter::WriteListEnd() {
  out_ += ')';
  if (!lists_.empty()) lists_.pop_back();
}

void TWriter::WriteCollection(TCollection* collection) {
  int base = ValueIndent();
  BeginValue();
  out_ += '<';
  std::vector<TContext> savedLists = std::move(lists_);
  lists_.clear();
  int savedIndent = indent_;
  std::string savedPath = propPath_;
  TPersistent* savedAncestor = ancestor_;
  if (collection)
    for (int i = 0; i < collection->GetCount(); ++i) {
      NewLine(base + 2);
      out_ += "item";
      indent_ = base + 4;
      propPath_.clear();
      ancestor_ = nullptr;
      WriteProperties(collection->GetItem(i));
      NewLine(base + 2);
      out_ += "end";
    }
  lists_ = std::move(savedLists);
  indent_ = savedIndent;
  propPath_ = savedPath;
  ancestor_ = savedAncestor;
  out_ += '>';
}

// --- Defined properties -----------------------------------------------------

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData,
                             bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  Owned<TMemoryStream> data(New<TMemoryStream>());
  writeData(data.get());
  WritePropName(name);
  WriteBinary(data->GetMemory(), static_cast<size_t>(data->GetSize()));
}

// --- Properties -------------------------------------------------------------

void TWriter::WriteProperties(TPersistent* instance) {
  for (PPropInfo p : GetPropInfos(instance->ClassType()))
    if (IsStoredProp(instance, p)) WriteProperty(instance, p);
  instance->DefineProperties(this);
}

std::string TWriter::GetComponentValue(TComponent* component, TComponent* lookupRoot) const {
  // The path from lookupRoot down ("Button1", "Frame1.Button1"), or from the
  // root that holds the component ("Form2.Button1"); "" when unnamed.
  std::vector<const std::string*> names;
  TComponent* c = component;
  while (c && c != lookupRoot) {
    if (c->GetName().empty()) return {};
    names.push_back(&c->GetName());
    TComponent* owner = OwnerOf(c);
    if (!owner || owner->GetName().empty()) break;
    c = owner;
  }
  if (names.empty()) return component->GetName();
  std::string path;
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (!path.empty()) path += '.';
    path += **it;
  }
  return path;
}

bool TWriter::CollectionsEqual(TCollection* a, TCollection* b) {
  int na = a ? a->GetCount() : 0;
  int nb = b ? b->GetCount() : 0;
  if (na != nb) return false;
  if (na == 0) return true;
  auto text = [this](TCollection* c, TComponent* lookupRoot) {
    Owned<TWriter> w(New<TWriter>(nullptr));
    w->root_ = root_;
    w->lookupRoot_ = lookupRoot;
    w->methodRoot_ = methodRoot_;
    w->afterName_ = true;
    w->WriteCollection(c);
    return w->out_;
  };
  return text(a, lookupRoot_) == text(b, rootAncestor_);
}

void TWriter::WriteProperty(TPersistent* instance, PPropInfo prop) {
  if (!prop->CanRead()) return;
  const TTypeInfo* type = prop->PropType;
  TTypeKind kind = type->Kind;
  // Read-only properties are written only as sub-objects (Font.Style).
  if (kind != tkClass && !prop->CanWrite()) return;
  TPersistent* ancestor = ancestor_;
  PPropInfo ap = ancestor ? GetPropInfo(ancestor, prop->Name) : nullptr;
  if (ap && (ap->PropType->Kind != kind || !ap->CanRead())) ap = nullptr;

  switch (kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet: {
      int64_t v = prop->GetOrd(instance);
      if (ap ? v == ap->GetOrd(ancestor) : IsDefaultPropValue(instance, prop)) return;
      WritePropName(prop->Name);
      switch (kind) {
        case tkChar: WriteChar(static_cast<char>(v)); break;
        case tkWChar: WriteWideChar(static_cast<wchar_t>(v)); break;
        case tkEnumeration: WriteIdent(GetEnumName(type, v)); break;
        case tkSet: WriteSet(type, v); break;
        default: {
          std::string ident;
          if (TIntToIdent toIdent = FindIntToIdent(type); toIdent && toIdent(v, ident)) {
            WriteIdent(ident);
          } else {
            // A Cardinal above MaxInt goes as the Integer of the same bits,
            // as the platform writes it.
            WriteInteger(type->OrdType == otULong ? static_cast<int32_t>(static_cast<uint32_t>(v)) : v);
          }
        }
      }
      return;
    }
    case tkInt64: {
      int64_t v = prop->GetOrd(instance);
      if (ap ? v == ap->GetOrd(ancestor) : IsDefaultPropValue(instance, prop)) return;
      WritePropName(prop->Name);
      WriteInt64(v);
      return;
    }
    case tkFloat: {
      double v = prop->GetFloat(instance);
      if (ap ? v == ap->GetFloat(ancestor) : IsDefaultPropValue(instance, prop)) return;
      WritePropName(prop->Name);
      switch (type->FloatType) {
        case ftSingle: WriteSingle(static_cast<float>(v)); break;
        case ftCurr: WriteCurrency(v); break;
        default: WriteFloat(v); break;
      }
      return;
    }
    case tkString:
    case tkLString: {
      std::string v = prop->GetLStr(instance);
      if (ap ? v == GetStrProp(ancestor, ap) : v.empty()) return;
      WritePropName(prop->Name);
      WriteString(v);
      return;
    }
    case tkWString: {
      std::wstring v = prop->GetWStr(instance);
      if (ap ? v == GetWideStrProp(ancestor, ap) : v.empty()) return;
      WritePropName(prop->Name);
      WriteWideString(v);
      return;
    }
    case tkMethod: {
      TMethod m = prop->GetMeth(instance);
      if (ap ? SameMethodCode(m, ap->GetMeth(ancestor)) : !m.IsAssigned()) return;
      if (!m.IsAssigned()) {
        WritePropName(prop->Name);
        WriteIdent("nil");
        return;
      }
      // Only a published method of the root can be named in the text.
      if (!methodRoot_ || m.Data != static_cast<void*>(static_cast<TObject*>(methodRoot_))) return;
      const TMethodEntry* e = methodRoot_->ClassType()->Properties().FindMethodByCode(m);
      if (!e) return;
      WritePropName(prop->Name);
      WriteIdent(e->Name);
      return;
    }
    case tkClass: {
      TObject* v = prop->GetObj(instance);
      TObject* av = ap ? ap->GetObj(ancestor) : nullptr;
      auto* component = dynamic_cast<TComponent*>(v);
      if (!v) {
        if (av && prop->CanWrite()) {
          WritePropName(prop->Name);
          WriteIdent("nil");
        }
        return;
      }
      if (component && !component->GetComponentStyle().Contains(csSubComponent)) {
        // A reference to another component, written as its name.
        if (!prop->CanWrite()) return;
        std::string name = GetComponentValue(component, lookupRoot_);
        if (name.empty()) return;
        if (ap) {
          auto* ac = dynamic_cast<TComponent*>(av);
          if (ac == component || (ac && GetComponentValue(ac, rootAncestor_) == name)) return;
        }
        WritePropName(prop->Name);
        WriteIdent(name);
        return;
      }
      if (auto* collection = dynamic_cast<TCollection*>(v)) {
        if (CollectionsEqual(collection, dynamic_cast<TCollection*>(av))) return;
        WritePropName(prop->Name);
        WriteCollection(collection);
        return;
      }
      if (auto* sub = dynamic_cast<TPersistent*>(v)) {
        // A sub-object: its own properties under dotted names.
        std::string savedPath = propPath_;
        propPath_ += prop->Name + ".";
        ancestor_ = dynamic_cast<TPersistent*>(av);
        WriteProperties(sub);
        ancestor_ = ancestor;
        propPath_ = savedPath;
      }
      return;
    }
    default:
      return;
  }
}

// --- Components ---------------------------------------------------------------

void TWriter::WriteRootComponent(TComponent* root) { WriteDescendent(root, nullptr); }

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
  rootAncestor_ = ancestor;
  ancestor_ = ancestor;
  root_ = root;
  lookupRoot_ = root;
  methodRoot_ = root;
  objIndent_ = 0;
  WriteSignature();
  WriteComponent(root);
  out_ += "\r\n";
  anyLine_ = false;
  FlushBuffer();
}

void TWriter::WriteComponent(TComponent* component) {
  component->IncludeState(csWriting);
  try {
    component->WriteState(this);
  } catch (...) {
    component->ExcludeState(csWriting);
    throw;
  }
  component->ExcludeState(csWriting);
}

void TWriter::WriteData(TComponent* instance) {
  // A frame placed on the form is written against a frame of its class as
  // its stored form makes it: only what the form changed.
  Owned<TComponent> freshFrame;
  if (!ancestor_ && instance != root_ && instance->GetComponentState().Contains(csInline)) {
    freshFrame.reset(CreateAs<TComponent>(instance->ClassType(), nullptr));
    ancestor_ = freshFrame.get();
  }
  bool inlineAgainstFresh = freshFrame != nullptr;
  size_t mark = out_.size();
  bool markAnyLine = anyLine_;
  int writtenBefore = written_;
  bool inheritedObj = ancestor_ != nullptr && !inlineAgainstFresh;
  NewLine(objIndent_);
  out_ += inheritedObj ? "inherited " : instance->GetComponentState().Contains(csInline) ? "inline " : "object ";
  if (!instance->GetName().empty()) out_ += instance->GetName() + ": ";
  out_ += instance->ClassName();

  int savedIndent = indent_;
  int savedObjIndent = objIndent_;
  std::string savedPath = propPath_;
  TPersistent* savedAncestor = ancestor_;
  std::vector<TComponent*> savedAncestorChildren = std::move(ancestorChildren_);
  TComponent* savedRoot = root_;
  TComponent* savedLookupRoot = lookupRoot_;
  TComponent* savedRootAncestor = rootAncestor_;

  indent_ = objIndent_ + 2;
  propPath_.clear();
  WriteProperties(instance);

  // The children of a frame placed on a form are the frame's own (its
  // non-visual components too), as are those of its ancestor.
  bool inlineChild = instance != root_ && instance->GetComponentState().Contains(csInline);
  auto* ancestorComponent = dynamic_cast<TComponent*>(ancestor_);
  if (inlineChild && ancestorComponent) rootAncestor_ = ancestorComponent;
  ancestorChildren_.clear();
  if (ancestorComponent)
    ancestorComponent->GetChildren([this](TComponent* c) { ancestorChildren_.push_back(c); }, rootAncestor_);
  if (inlineChild) {
    root_ = instance;
    lookupRoot_ = instance;
  }
  objIndent_ += 2;
  if (!ignoreChildren_)
    instance->GetChildren(
        [this](TComponent* child) {
          TComponent* a = nullptr;
          for (TComponent* c : ancestorChildren_)
            if (SameName(c->GetName(), child->GetName())) a = c;
          ancestor_ = a;
          WriteComponent(child);
        },
        root_);

  objIndent_ = savedObjIndent;
  indent_ = savedIndent;
  propPath_ = savedPath;
  ancestor_ = savedAncestor;
  ancestorChildren_ = std::move(savedAncestorChildren);
  root_ = savedRoot;
  lookupRoot_ = savedLookupRoot;
  rootAncestor_ = savedRootAncestor;
  if (inlineAgainstFresh) ancestor_ = nullptr;

  NewLine(objIndent_);
  out_ += "end";
  // An inherited component that differs in nothing is left out.
  if (inheritedObj && instance != root_ && written_ == writtenBefore) {
    out_.resize(mark);
    anyLine_ = markAnyLine;
  } else {
    ++written_;
  }
}
