// The stored-form reader: TReader, reference fixups and global loading.
#include <algorithm>
#include <optional>
#include <string>

#include "classlib/SysUtils.h"
#include "classlib/classes/Collection.h"
#include "classlib/classes/Filer.h"
#include "classlib/classes/FilerParser.h"
#include "classlib/classes/Streams.h"

using namespace filer_detail;

namespace {

// The owning component (TComponent's GetOwner, not TPersistent's).
TComponent* OwnerOf(const TComponent* c) { return c->GetOwner(); }

// Hears when a watched component is freed (free notification).
class TWatcher : public TComponent {
  DECLARE_CLASS(TWatcher, TComponent)
  TWatcher() : TComponent(nullptr) {}
  std::function<void(TComponent*)> OnRemove;
  void Notification(TComponent* component, TOperation operation) override {
    inherited::Notification(component, operation);
    if (operation == opRemove && OnRemove) OnRemove(component);
  }
};
IMPLEMENT_CLASS(TWatcher)

// The components waiting for Loaded, in the order they were first read.
struct TLoadingScope {
  TLoadingScope() : watcher(New<TWatcher>()) {
    watcher->OnRemove = [this](TComponent* c) { std::erase(loaded, c); };
  }
  void Add(TComponent* c) {
    if (std::find(loaded.begin(), loaded.end(), c) != loaded.end()) return;
    loaded.push_back(c);
    watcher->FreeNotification(c);
  }
  std::vector<TComponent*> loaded;
  Owned<TWatcher> watcher;
};

std::vector<std::unique_ptr<TLoadingScope>>& GlobalLoadingStack() {
  static std::vector<std::unique_ptr<TLoadingScope>> s;
  return s;
}

void CallLoadedOn(TLoadingScope& scope) {
  // Loaded may free or create components: walk by index over what is there.
  for (size_t i = 0; i < scope.loaded.size(); ++i) {
    TComponent* c = scope.loaded[i];
    c->Loaded();
    if (i < scope.loaded.size() && scope.loaded[i] == c) c->ExcludeState(csLoading);
  }
}

// A reference that names a component of another root, kept until that root
// can be found.
struct TGlobalFixup {
  TPersistent* Instance;
  PPropInfo Prop;
  TComponent* Holder;  // the component the instance belongs to
  TComponent* Root;    // the root that was read
  std::string RootName;
  std::string Rest;    // the path below that root ("" for the root itself)
  std::string Where;   // "Button1.Buddy", for errors
};

struct TGlobalFixups {
  std::vector<TGlobalFixup> list;
  Owned<TWatcher> watcher;
  void Watch(TComponent* c) {
    if (!watcher) {
      watcher.reset(New<TWatcher>());
      watcher->OnRemove = [this](TComponent* gone) {
        std::erase_if(list, [gone](const TGlobalFixup& f) { return f.Holder == gone || f.Root == gone; });
      };
    }
    watcher->FreeNotification(c);
  }
};

TGlobalFixups& GlobalFixups() {
  static TGlobalFixups f;
  return f;
}

struct TFinderEntry {
  int Id;
  TFindGlobalComponent Proc;
};
std::vector<TFinderEntry>& Finders() {
  static std::vector<TFinderEntry> f;
  return f;
}

std::string NameOf(TPersistent* instance) {
  if (auto* c = dynamic_cast<TComponent*>(instance)) return c->GetName().empty() ? c->ClassName() : c->GetName();
  return instance ? instance->GetNamePath() : std::string();
}

}  // namespace

DEFINE_ENUM_TYPE(TValueType, "vaNull", "vaList", "vaInt8", "vaInt16", "vaInt32", "vaExtended",
                 "vaString", "vaIdent", "vaFalse", "vaTrue", "vaBinary", "vaSet", "vaLString", "vaNil",
                 "vaCollection", "vaSingle", "vaCurrency", "vaDate", "vaWString", "vaInt64",
                 "vaUTF8String")
DEFINE_ENUM_TYPE(TFilerFlag, "ffInherited", "ffChildPos", "ffInline")

namespace {
bool IsKeyword(const TToken& t, const char* kw) { return t.Kind == TTok::Ident && SameName(t.Text, kw); }
bool IsSymbol(const TToken& t, char c) { return t.Kind == TTok::Symbol && t.Text[0] == c; }
bool StartsObject(const TToken& t) {
  return IsKeyword(t, "object") || IsKeyword(t, "inherited") || IsKeyword(t, "inline");
}
// An optional "[n]" after a collection's "item" or an object's class.
std::optional<int64_t> TakeIndex(TFormParser& parser) {
  if (!IsSymbol(parser.Peek(), '[')) return std::nullopt;
  parser.Take();
  TToken n = parser.Take();
  if (n.Kind != TTok::Int) parser.Expected("Number", n);
  if (!IsSymbol(parser.Peek(), ']')) parser.Expected("']'", parser.Peek());
  parser.Take();
  return n.IntValue;
}
// "Name =" before a property's value; the name's token.
TToken TakePropertyName(TFormParser& parser) {
  TToken name = parser.Take();
  if (name.Kind != TTok::Ident) parser.Expected("Identifier", name);
  if (!IsSymbol(parser.Peek(), '=')) parser.Expected("'='", parser.Peek());
  parser.Take();
  return name;
}
// The "end" of an object or a collection item.
void TakeEnd(TFormParser& parser) {
  if (!IsKeyword(parser.Peek(), "end")) parser.Expected("'end'", parser.Peek());
  parser.Take();
}
// The ">" of a collection.
void TakeCollectionEnd(TFormParser& parser) {
  if (!IsSymbol(parser.Peek(), '>')) parser.Expected("'>'", parser.Peek());
  parser.Take();
}

// How deep objects, lists and collections may nest in a stored form, and
// the levels open on this thread. Each level is a few recursive calls of the
// reader; the count is the thread's, over every reader on it (a frame's own
// form is read while the form that holds it is), because they all share its
// stack. What a level costs and what the limit leaves of the stack:
// docs/decisions.md.
constexpr int kMaxNesting = 256;
thread_local int tNesting = 0;

// One level deeper for its life; a level past the limit raises instead of
// going on towards the end of the stack.
class TNestingLevel {
 public:
  explicit TNestingLevel(const TFormParser& parser) {
    if (tNesting >= kMaxNesting)
      parser.Fail(parser.Line(),
                  "Objects, lists and collections nested more than " + std::to_string(kMaxNesting) + " deep");
    ++tNesting;
  }
  ~TNestingLevel() { --tNesting; }
  TNestingLevel(const TNestingLevel&) = delete;
  TNestingLevel& operator=(const TNestingLevel&) = delete;
};

TValueType IntKind(int64_t v) {
  if (v >= -128 && v <= 127) return vaInt8;
  if (v >= -32768 && v <= 32767) return vaInt16;
  if (v >= INT32_MIN && v <= INT32_MAX) return vaInt32;
  return vaInt64;
}
}  // namespace

// ---------------------------------------------------------------------------
// What one read keeps: the components it created (freed when it fails), the
// components waiting for Loaded, and the references to fix up.

struct TReaderState {
  struct TFixup {
    TPersistent* Instance;
    PPropInfo Prop;
    TComponent* Holder;
    std::string Name;
    int Line;
    std::string Where;
    TComponent* Root;  // the root the name is relative to
  };

  TReaderState() : watcher(New<TWatcher>()) {
    watcher->OnRemove = [this](TComponent* c) {
      std::erase(created, c);
      std::erase_if(fixups, [c](const TFixup& f) { return f.Holder == c; });
      // A field of the owner must not keep a component that is gone.
      TComponent* owner = OwnerOf(c);
      if (owner && !c->GetName().empty())
        if (const TFieldEntry* f = owner->ClassType()->Properties().FindField(c->GetName()))
          if (f->Get(owner) == c) f->Assign(owner, nullptr);
    };
  }

  TLoadingScope& Loading() {
    auto& global = GlobalLoadingStack();
    if (!global.empty()) return *global.back();
    if (!own) own = std::make_unique<TLoadingScope>();
    return *own;
  }
  bool GlobalLoading() const { return !GlobalLoadingStack().empty(); }

  void Track(TComponent* c) {
    created.push_back(c);
    watcher->FreeNotification(c);
  }
  // The read succeeded: its components are no longer its own to free.
  void Keep() {
    for (TComponent* c : created) watcher->RemoveFreeNotification(c);
    created.clear();
  }
  // The read failed: free what it made, newest first.
  void FreeCreated() {
    fixups.clear();
    while (!created.empty()) {
      TComponent* c = created.back();
      c->Free();
      // Normally the watcher has dropped it already.
      std::erase(created, c);
    }
  }

  std::vector<TComponent*> created;
  std::vector<TFixup> fixups;
  bool fixupsActive = false;
  std::unique_ptr<TLoadingScope> own;
  Owned<TWatcher> watcher;
};

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TReader)

TReader::TReader(TStream* stream) : TFiler(stream) {
  std::string text;
  if (stream) {
    streamStart_ = stream->GetPosition();
    int64_t size = stream->GetSize() - streamStart_;
    if (size > INT32_MAX) throw EReadError("Stored form too large");
    if (size > 0) {
      text.resize(static_cast<size_t>(size));
      stream->ReadBuffer(text.data(), static_cast<int>(size));
    }
  }
  parser_ = std::make_unique<TFormParser>(std::move(text));
  state_ = std::make_unique<TReaderState>();
}

TReader::~TReader() = default;

void TReader::Destroy() {
  if (stream_ && parser_) {
    // Leave the stream just after what was read; never throw from here.
    try {
      stream_->SetPosition(streamStart_ + static_cast<int64_t>(parser_->Consumed()));
    } catch (...) {
    }
  }
  inherited::Destroy();
}

int TReader::GetLine() const { return parser_->Line(); }

void TReader::ReadError(const std::string& message) { throw EReadErrorAt(parser_->Line(), message, false); }

void TReader::PropValueError() { ReadError("Invalid property value"); }

// --- Values -----------------------------------------------------------------

TValueType TReader::NextValue() {
  const TToken& t = parser_->Peek();
  switch (t.Kind) {
    case TTok::Eof: return vaNull;
    case TTok::Ident:
      if (IsKeyword(t, "end") || StartsObject(t)) return vaNull;
      if (SameName(t.Text, "True")) return vaTrue;
      if (SameName(t.Text, "False")) return vaFalse;
      if (SameName(t.Text, "nil")) return vaNil;
      return vaIdent;
    case TTok::Int: return IntKind(t.IntValue);
    case TTok::Float:
      switch (t.Suffix) {
        case 's': return vaSingle;
        case 'c': return vaCurrency;
        case 'd': return vaDate;
        default: return vaExtended;
      }
    case TTok::String: return t.Wide ? vaWString : t.Str.size() > 255 ? vaLString : vaString;
    case TTok::Binary: return vaBinary;
    case TTok::Symbol:
      if (IsSymbol(t, '(')) return vaList;
      if (IsSymbol(t, '[')) return vaSet;
      if (IsSymbol(t, '<')) return vaCollection;
      return vaNull;
  }
  return vaNull;
}

TValueType TReader::ReadValue() {
  TValueType v = NextValue();
  const TToken& t = parser_->Peek();
  if (v == vaNull) {
    if (IsSymbol(t, ')') || IsSymbol(t, '>') || IsKeyword(t, "end")) parser_->Take();
    return v;
  }
  parser_->Take();
  if (v == vaSet) {
    parser_->InSet = true;
    parser_->SetNeedsComma = false;
  }
  return v;
}

void TReader::SkipValue() {
  switch (NextValue()) {
    case vaNull:
      PropValueError();
    case vaList: {
      TNestingLevel level(*parser_);
      parser_->Take();
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    }
    case vaSet:
      ReadValue();
      while (!ReadStr().empty()) {
      }
      break;
    case vaCollection: {
      TNestingLevel level(*parser_);
      parser_->Take();
      while (IsKeyword(parser_->Peek(), "item")) {
        parser_->Take();
        TakeIndex(*parser_);  // an item's position is read and passed over
        while (!EndOfProperties()) {
          TakePropertyName(*parser_);
          SkipValue();
        }
        TakeEnd(*parser_);
      }
      TakeCollectionEnd(*parser_);
      break;
    }
    default:
      parser_->Take();
      break;
  }
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::ReadListBegin() {
  if (!IsSymbol(parser_->Peek(), '(')) PropValueError();
  parser_->Take();
}

void TReader::ReadListEnd() {
  if (!IsSymbol(parser_->Peek(), ')')) parser_->Expected("')'", parser_->Peek());
  parser_->Take();
}

bool TReader::ReadBoolean() {
  TValueType v = NextValue();
  if (v != vaTrue && v != vaFalse) PropValueError();
  parser_->Take();
  return v == vaTrue;
}

char TReader::ReadChar() {
  const TToken& t = parser_->Peek();
  if (t.Kind == TTok::String) {
    std::string s = t.Wide ? WideToAnsi(t.WStr) : t.Str;
    if (s.size() == 1) {
      parser_->Take();
      return s[0];
    }
  }
  PropValueError();
}

wchar_t TReader::ReadWideChar() {
  const TToken& t = parser_->Peek();
  if (t.Kind == TTok::String) {
    std::wstring w = t.Wide ? t.WStr : AnsiToWide(t.Str);
    if (w.size() == 1) {
      parser_->Take();
      return w[0];
    }
  }
  PropValueError();
}

int TReader::ReadInteger() {
  TValueType v = NextValue();
  if (v != vaInt8 && v != vaInt16 && v != vaInt32) PropValueError();
  return static_cast<int>(parser_->Take().IntValue);
}

int64_t TReader::ReadInt64() {
  if (parser_->Peek().Kind != TTok::Int) PropValueError();
  return parser_->Take().IntValue;
}

double TReader::ReadFloat() {
  const TToken& t = parser_->Peek();
  if (t.Kind == TTok::Float) return parser_->Take().FloatValue;
  if (t.Kind == TTok::Int) return static_cast<double>(parser_->Take().IntValue);
  PropValueError();
}

float TReader::ReadSingle() { return static_cast<float>(ReadFloat()); }
double TReader::ReadCurrency() { return ReadFloat(); }
double TReader::ReadDate() { return ReadFloat(); }

std::string TReader::ReadString() {
  const TToken& t = parser_->Peek();
  if (t.Kind != TTok::String) PropValueError();
  TToken s = parser_->Take();
  return s.Wide ? WideToAnsi(s.WStr) : std::move(s.Str);
}

std::wstring TReader::ReadWideString() {
  const TToken& t = parser_->Peek();
  if (t.Kind != TTok::String) PropValueError();
  TToken s = parser_->Take();
  return s.Wide ? std::move(s.WStr) : AnsiToWide(s.Str);
}

std::string TReader::ReadIdent() {
  switch (NextValue()) {
    case vaIdent: return parser_->Take().Text;
    case vaFalse: parser_->Take(); return "False";
    case vaTrue: parser_->Take(); return "True";
    case vaNil: parser_->Take(); return "nil";
    default: PropValueError();
  }
}

std::string TReader::ReadStr() {
  if (parser_->InSet) {
    const TToken& t = parser_->Peek();
    if (IsSymbol(t, ']')) {
      parser_->Take();
      parser_->InSet = false;
      return {};
    }
    if (parser_->SetNeedsComma) {
      if (!IsSymbol(t, ',')) parser_->Expected("']'", t);
      parser_->Take();
    }
    const TToken& e = parser_->Peek();
    if (e.Kind != TTok::Ident || e.Text.find('.') != std::string::npos) parser_->Expected("Identifier", e);
    parser_->SetNeedsComma = true;
    return parser_->Take().Text;
  }
  const TToken& t = parser_->Peek();
  if (t.Kind != TTok::Ident) parser_->Expected("Identifier", t);
  return parser_->Take().Text;
}

int64_t TReader::ReadSet(const TTypeInfo* setType) {
  if (NextValue() != vaSet) PropValueError();
  ReadValue();
  const TTypeInfo* comp = setType->Kind == tkSet ? setType->CompType : setType;
  uint64_t bits = 0;
  while (true) {
    std::string name = ReadStr();
    if (name.empty()) break;
    int v = GetEnumValue(comp, name);
    if (v < 0 || v >= 64) {
      parser_->InSet = false;
      PropValueError();
    }
    bits |= uint64_t{1} << v;
  }
  return static_cast<int64_t>(bits);
}

// --- Defined properties -----------------------------------------------------

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&,
                             bool) {
  if (!propName_.empty() && readData && SameName(name, propName_)) {
    readData(this);
    propName_.clear();
  }
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  if (propName_.empty() || !readData || !SameName(name, propName_)) return;
  if (NextValue() != vaBinary) PropValueError();
  TToken t = parser_->Take();
  Owned<TMemoryStream> data(New<TMemoryStream>());
  if (!t.Str.empty()) data->WriteBuffer(t.Str.data(), static_cast<int>(t.Str.size()));
  data->SetPosition(0);
  readData(data.get());
  propName_.clear();
}

// --- Objects ----------------------------------------------------------------

bool TReader::EndOfProperties() {
  const TToken& t = parser_->Peek();
  return t.Kind == TTok::Eof || IsKeyword(t, "end") || StartsObject(t) || IsSymbol(t, ')') ||
         IsSymbol(t, '>');
}

void TReader::ReadSignature() {
  const TToken& t = parser_->Peek();
  if (!StartsObject(t)) parser_->Expected("'object'", t);
}

void TReader::ReadObjectHeader(TFilerFlags& flags, int& childPos, std::string& name,
                               std::string& className) {
  TToken kw = parser_->Take();
  flags = {};
  childPos = -1;
  if (IsKeyword(kw, "inherited")) flags.Include(ffInherited);
  else if (IsKeyword(kw, "inline")) flags.Include(ffInline);
  auto ident = [this]() {
    TToken t = parser_->Take();
    if (t.Kind != TTok::Ident || t.Text.find('.') != std::string::npos) parser_->Expected("Identifier", t);
    return t.Text;
  };
  std::string first = ident();
  if (IsSymbol(parser_->Peek(), ':')) {
    parser_->Take();
    name = first;
    className = ident();
  } else {
    name.clear();
    className = first;
  }
  if (std::optional<int64_t> index = TakeIndex(*parser_)) {
    flags.Include(ffChildPos);
    childPos = static_cast<int>(*index);
  }
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  int line = parser_->Peek().Line;
  TFilerFlags flags;
  int childPos;
  std::string name, className;
  ReadObjectHeader(flags, childPos, name, className);
  TReaderState& s = *state_;
  bool rootCreated = false;
  try {
    try {
      if (!root) {
        TClass cls = GetClass(className);
        if (!cls || !cls->InheritsFrom(TComponent::StaticClass()))
          parser_->Fail(line, "Class " + className + " not found");
        root = CreateAs<TComponent>(cls, nullptr);
        s.Track(root);
        rootCreated = true;
        root->IncludeState(csLoading);
        root->IncludeState(csReading);
        root->SetName(name);
      } else if (!root->IsDesigning()) {
        root->IncludeState(csLoading);
        root->IncludeState(csReading);
        // A second instance of a form takes "Form1_1", as the first holds
        // the name; so does a second frame of one class on one owner.
        TComponent* rootOwner = OwnerOf(root);
        std::string unique = name;
        for (int i = 1; !unique.empty(); ++i) {
          TComponent* other = FindGlobalComponent(unique);
          if (!other && rootOwner) other = rootOwner->FindComponent(unique);
          if (!other || other == root) break;
          unique = name + "_" + std::to_string(i);
        }
        root->SetName(unique);
      }
    } catch (const EReadErrorAt&) {
      throw;
    } catch (const EAbort&) {
      throw;
    } catch (const Exception& e) {
      throw EReadErrorAt(line, e.GetMessage(), true);
    }
    root_ = root;
    lookupRoot_ = root;
    owner_ = root;
    s.Loading().Add(root);
    root->IncludeState(csLoading);
    root->IncludeState(csReading);
    root->ReadState(this);
    root->ExcludeState(csReading);
    const TToken& rest = parser_->Peek();
    if (rest.Kind != TTok::Eof) parser_->Expected("End of file", rest);
    if (!s.GlobalLoading()) CallLoadedOn(s.Loading());
    s.Keep();
  } catch (...) {
    s.FreeCreated();
    if (root && !rootCreated) {
      root->ExcludeState(csReading);
      root->ExcludeState(csLoading);
      RemoveFixupReferences(root, "");
    }
    throw;
  }
  GlobalFixupReferences();
  return root;
}

void TReader::ReadComponents(TComponent* owner, TComponent* parent, const TReadComponentsProc& proc) {
  root_ = owner;
  lookupRoot_ = owner;
  owner_ = owner;
  parent_ = parent;
  TReaderState& s = *state_;
  try {
    s.fixupsActive = true;
    while (StartsObject(parser_->Peek())) {
      TComponent* c = ReadComponent(nullptr);
      if (proc) proc(c);
    }
    const TToken& rest = parser_->Peek();
    if (rest.Kind != TTok::Eof) parser_->Expected("'object'", rest);
    s.fixupsActive = false;
    DoFixupReferences();
    if (!s.GlobalLoading()) CallLoadedOn(s.Loading());
    s.Keep();
  } catch (...) {
    s.fixupsActive = false;
    s.FreeCreated();
    throw;
  }
  GlobalFixupReferences();
}

TComponent* TReader::ReadComponent(TComponent* component) {
  TNestingLevel level(*parser_);
  const TToken& head = parser_->Peek();
  int line = head.Line;
  if (!StartsObject(head)) parser_->Expected("'object'", head);
  TFilerFlags flags;
  int childPos;
  std::string name, className;
  ReadObjectHeader(flags, childPos, name, className);
  bool inheritedObj = flags.Contains(ffInherited);
  TComponent* result = component;
  bool created = false;
  auto abandon = [&]() {
    if (created) result->Free();
    else if (result) result->ExcludeState(csReading);
  };
  try {
    if (!result) {
      if (inheritedObj) {
        result = FindExistingComponent(name, className, line);
      } else {
        result = CreateComponent(className, line);
        created = true;
      }
    }
    result->IncludeState(csLoading);
    if (!inheritedObj) SetCompName(result, name);
    state_->Loading().Add(result);
    if (flags.Contains(ffInline)) result->SetInline(true);
    // The parent comes first: properties such as a control's bounds or
    // font depend on it. Asked of every new component, since one that
    // joins its parent here (an action its list) has no parent before.
    if (!inheritedObj && parent_) result->SetParentComponent(parent_);
    result->IncludeState(csReading);
    result->ReadState(this);
    result->ExcludeState(csReading);
    if (flags.Contains(ffChildPos)) {
      TComponent* p = inheritedObj ? result->GetParentComponent() : parent_;
      if (!p) p = root_;
      if (p) p->SetChildOrder(result, childPos);
    }
  } catch (const EReadErrorAt&) {
    abandon();
    throw;
  } catch (const EAbort&) {
    abandon();
    throw;
  } catch (const Exception& e) {
    // A component's own failure (a taken name, a constructor): the line of
    // its object.
    std::string message = e.GetMessage();
    abandon();
    throw EReadErrorAt(line, message, true);
  } catch (...) {
    abandon();
    throw;
  }
  return result;
}

TComponent* TReader::FindExistingComponent(const std::string& name, const std::string& className, int line) {
  TComponent* c = owner_ ? owner_->FindComponent(name) : nullptr;
  if (!c && root_ && root_ != owner_) c = root_->FindComponent(name);
  if (!c && OnAncestorNotFound) OnAncestorNotFound(this, name, GetClass(className), c);
  if (!c) parser_->Fail(line, "Ancestor for '" + name + "' not found");
  return c;
}

TClass TReader::FindComponentClass(const std::string& className, int line) {
  // The classes of the root's published fields first: a form's own classes
  // need no registration.
  auto fromFields = [&](TComponent* c) -> TClass {
    if (!c) return nullptr;
    for (const TFieldEntry* f : c->ClassType()->Properties().Fields())
      if (f->FieldClass && SameName(f->FieldClass->ClassName(), className)) return f->FieldClass;
    return nullptr;
  };
  TClass cls = fromFields(root_);
  if (!cls && owner_ != root_) cls = fromFields(owner_);
  if (!cls) cls = GetClass(className);
  if (!cls && OnFindComponentClass) OnFindComponentClass(this, className, cls);
  if (!cls) parser_->Fail(line, "Class " + className + " not found");
  if (!cls->InheritsFrom(TComponent::StaticClass()))
    parser_->Fail(line, "Class " + className + " is not a component class");
  return cls;
}

TComponent* TReader::CreateComponent(const std::string& className, int line) {
  TClass cls = FindComponentClass(className, line);
  TComponent* c = nullptr;
  if (OnCreateComponent) OnCreateComponent(this, cls, c);
  if (!c) c = CreateAs<TComponent>(cls, owner_);
  state_->Track(c);
  return c;
}

void TReader::SetCompName(TComponent* component, const std::string& name) {
  std::string n = name;
  if (OnSetName) OnSetName(this, component, n);
  component->SetName(n);
  TComponent* owner = OwnerOf(component);
  if (!owner || n.empty()) return;
  const TFieldEntry* f = owner->ClassType()->Properties().FindField(n);
  if (!f) return;
  if (f->FieldClass && !component->InheritsFrom(f->FieldClass))
    throw EReadError("Field " + n + " of " + owner->ClassName() + " needs a " + f->FieldClass->ClassName() +
                     ", not a " + component->ClassName());
  f->Assign(owner, component);
}

void TReader::ReadData(TComponent* instance) {
  TReaderState& s = *state_;
  TComponent* savedCurrent = current_;
  current_ = instance;
  bool top = !s.fixupsActive;
  if (top) s.fixupsActive = true;
  try {
    ReadDataInner(instance);
    if (top) {
      s.fixupsActive = false;
      DoFixupReferences();
    }
  } catch (...) {
    current_ = savedCurrent;
    if (top) {
      s.fixupsActive = false;
      s.fixups.clear();
    }
    throw;
  }
  current_ = savedCurrent;
}

void TReader::ReadDataInner(TComponent* instance) {
  while (!EndOfProperties()) ReadProperty(instance);
  TComponent* savedParent = parent_;
  TComponent* savedOwner = owner_;
  TComponent* savedLookupRoot = lookupRoot_;
  auto restore = [&] {
    parent_ = savedParent;
    owner_ = savedOwner;
    lookupRoot_ = savedLookupRoot;
  };
  parent_ = instance->GetChildParent();
  owner_ = instance->GetChildOwner();
  // The children of a frame placed on a form are the frame's own, as they
  // were written: found and owned within the frame, their references
  // relative to it. Events still name the methods of the root being read.
  if (instance != root_ && instance->GetComponentState().Contains(csInline)) {
    lookupRoot_ = instance;
    if (!owner_) owner_ = instance;
  }
  if (!owner_) owner_ = root_;
  try {
    while (StartsObject(parser_->Peek())) {
      if (ignoreChildren_) SkipComponent();
      else ReadComponent(nullptr);
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  TakeEnd(*parser_);
}

void TReader::SkipComponent() {
  TNestingLevel level(*parser_);
  TFilerFlags flags;
  int childPos;
  std::string name, className;
  ReadObjectHeader(flags, childPos, name, className);
  while (!EndOfProperties()) {
    TakePropertyName(*parser_);
    SkipValue();
  }
  while (StartsObject(parser_->Peek())) SkipComponent();
  TakeEnd(*parser_);
}

void TReader::ReadProperty(TPersistent* instance) {
  TToken nameTok = TakePropertyName(*parser_);
  const std::string& path = nameTok.Text;
  const TToken& valueTok = parser_->Peek();
  size_t valueStart = valueTok.Start;
  int valueLine = valueTok.Line;
  std::string savedWhere = propWhere_;
  propWhere_ = NameOf(instance) + "." + path;
  bool handleable = true;
  auto fail = [&](int line, const std::string& bare) {
    std::string message = "Error reading " + propWhere_ + ": " + bare;
    propWhere_ = savedWhere;
    if (handleable && canHandleExcepts_ && OnError) {
      bool handled = false;
      OnError(this, message, handled);
      if (handled) {
        parser_->Reset(valueStart, valueLine);
        SkipValue();
        return;
      }
    }
    throw EReadErrorAt(line, message, true);
  };
  try {
    TPersistent* target = instance;
    std::string rest = path;
    for (size_t dot; (dot = rest.find('.')) != std::string::npos;) {
      std::string part = rest.substr(0, dot);
      rest.erase(0, dot + 1);
      PPropInfo p = GetPropInfo(target, part);
      if (!p) throw EReadError("Property " + part + " does not exist");
      TPersistent* sub = p->PropType->Kind == tkClass && p->GetObj
                             ? dynamic_cast<TPersistent*>(p->GetObj(target))
                             : nullptr;
      if (!sub) throw EReadError("Property " + part + " has no object to read " + rest + " into");
      target = sub;
    }
    propName_ = rest;
    if (PPropInfo p = GetPropInfo(target, rest)) {
      ReadPropValue(target, p);
    } else {
      // A defined property may leave the text anywhere: no recovery after
      // it, nor inside it (a property it reads itself).
      handleable = false;
      bool savedCan = canHandleExcepts_;
      canHandleExcepts_ = false;
      try {
        target->DefineProperties(this);
      } catch (...) {
        canHandleExcepts_ = savedCan;
        throw;
      }
      canHandleExcepts_ = savedCan;
      handleable = true;
      if (!propName_.empty()) throw EReadError("Property " + propName_ + " does not exist");
    }
  } catch (const EReadErrorAt& e) {
    if (e.Final) {
      propWhere_ = savedWhere;
      throw;
    }
    fail(e.Line, e.Bare);
  } catch (const EAbort&) {
    propWhere_ = savedWhere;
    throw;
  } catch (const Exception& e) {
    fail(nameTok.Line, e.GetMessage());
  }
  propWhere_ = savedWhere;
  propName_.clear();
}

void TReader::ReadPropValue(TPersistent* instance, PPropInfo prop) {
  const TTypeInfo* type = prop->PropType;
  switch (type->Kind) {
    case tkInteger: {
      int64_t v = 0;
      if (NextValue() == vaIdent) {
        TIdentToInt toInt = FindIdentToInt(type);
        if (!toInt || !toInt(ReadIdent(), v)) PropValueError();
      } else {
        v = ReadInt64();
        // Integer and Cardinal both come through here.
        if (v < INT32_MIN || v > UINT32_MAX) PropValueError();
      }
      SetOrdProp(instance, prop, v);
      break;
    }
    case tkChar: SetOrdProp(instance, prop, static_cast<unsigned char>(ReadChar())); break;
    case tkWChar: SetOrdProp(instance, prop, static_cast<uint16_t>(ReadWideChar())); break;
    case tkEnumeration: {
      int v = GetEnumValue(type, ReadIdent());
      if (v < 0) PropValueError();
      SetOrdProp(instance, prop, v);
      break;
    }
    case tkSet: SetOrdProp(instance, prop, ReadSet(type)); break;
    case tkFloat: SetFloatProp(instance, prop, ReadFloat()); break;
    case tkString:
    case tkLString: SetStrProp(instance, prop, ReadString()); break;
    case tkWString: SetWideStrProp(instance, prop, ReadWideString()); break;
    case tkInt64: SetInt64Prop(instance, prop, ReadInt64()); break;
    case tkClass:
      switch (NextValue()) {
        case vaNil:
          ReadValue();
          SetObjectProp(instance, prop, nullptr);
          break;
        case vaCollection: {
          auto* collection = prop->GetObj ? dynamic_cast<TCollection*>(prop->GetObj(instance)) : nullptr;
          if (!collection) PropValueError();
          ReadValue();
          ReadCollection(collection);
          break;
        }
        case vaIdent: {
          if (!prop->SetObj) PropValueError();
          std::string name = ReadIdent();
          if (OnReferenceName) OnReferenceName(this, name);
          AddFixup(instance, prop, name);
          break;
        }
        default: PropValueError();
      }
      break;
    case tkMethod:
      switch (NextValue()) {
        case vaNil:
          ReadValue();
          SetMethodProp(instance, prop, TMethod{});
          break;
        case vaIdent: SetMethodProp(instance, prop, FindMethodInstance(ReadIdent())); break;
        default: PropValueError();
      }
      break;
    default: PropValueError();
  }
}

TMethod TReader::FindMethodInstance(const std::string& name) {
  TMethod m;
  bool error = true;
  if (root_)
    if (const TMethodEntry* e = root_->ClassType()->Properties().FindMethod(name)) {
      m = e->Code;
      m.Data = static_cast<void*>(static_cast<TObject*>(root_));
      error = false;
    }
  if (OnFindMethod) OnFindMethod(this, name, m, error);
  if (error) throw EReadError("Method " + name + " not found");
  return m;
}

void TReader::ReadCollection(TCollection* collection) {
  TNestingLevel level(*parser_);
  collection->BeginUpdate();
  try {
    // "<>" empties the collection too: a descendant may store an emptied
    // inherited collection that way.
    collection->Clear();
    while (IsKeyword(parser_->Peek(), "item")) {
      parser_->Take();
      TakeIndex(*parser_);  // an item's position is read and passed over
      TCollectionItem* item = collection->Add();
      while (!EndOfProperties()) ReadProperty(item);
      TakeEnd(*parser_);
    }
    TakeCollectionEnd(*parser_);
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
}

// --- References -------------------------------------------------------------

void TReader::AddFixup(TPersistent* instance, PPropInfo prop, const std::string& name) {
  state_->fixups.push_back({instance, prop, current_, name, parser_->Line(), propWhere_, lookupRoot_});
  if (!state_->fixupsActive) DoFixupReferences();
}

void TReader::DoFixupReferences() {
  TReaderState& s = *state_;
  std::vector<TReaderState::TFixup> fixups = std::move(s.fixups);
  s.fixups.clear();
  for (const auto& f : fixups) {
    TComponent* root = f.Root ? f.Root : lookupRoot_;
    TComponent* target = root ? FindNestedComponent(root, f.Name) : nullptr;
    if (!target && root && SameName(f.Name, root->GetName())) target = root;
    std::string rootName = f.Name, rest;
    if (size_t dot = f.Name.find('.'); dot != std::string::npos) {
      rootName = f.Name.substr(0, dot);
      rest = f.Name.substr(dot + 1);
    }
    if (!target) {
      if (TComponent* other = FindGlobalComponent(rootName)) {
        target = rest.empty() ? other : FindNestedComponent(other, rest);
        if (!target) continue;
      }
    }
    if (target) {
      try {
        SetObjectProp(f.Instance, f.Prop, target);
      } catch (const Exception& e) {
        throw EReadErrorAt(f.Line, "Error reading " + f.Where + ": " + e.GetMessage(), true);
      }
      continue;
    }
    // Another root not made yet: wait for it.
    TGlobalFixups& g = GlobalFixups();
    g.list.push_back({f.Instance, f.Prop, f.Holder, root, rootName, rest, f.Where});
    if (f.Holder) g.Watch(f.Holder);
    if (root && root != f.Holder) g.Watch(root);
  }
}

// ---------------------------------------------------------------------------

int RegisterFindGlobalComponentProc(TFindGlobalComponent proc) {
  static int nextId = 1;
  Finders().push_back({nextId, std::move(proc)});
  return nextId++;
}

void UnregisterFindGlobalComponentProc(int id) {
  std::erase_if(Finders(), [id](const TFinderEntry& e) { return e.Id == id; });
}

TComponent* FindGlobalComponent(const std::string& name) {
  if (name.empty()) return nullptr;
  // A finder may unregister another while it runs: walk a copy.
  std::vector<TFinderEntry> finders = Finders();
  for (const TFinderEntry& f : finders)
    if (TComponent* c = f.Proc(name)) return c;
  return nullptr;
}

TComponent* FindNestedComponent(TComponent* root, const std::string& path) {
  TComponent* c = root;
  size_t b = 0;
  while (c) {
    size_t dot = path.find('.', b);
    std::string part = path.substr(b, dot == std::string::npos ? std::string::npos : dot - b);
    c = c->FindComponent(part);
    if (dot == std::string::npos) break;
    b = dot + 1;
  }
  return c;
}

void GlobalFixupReferences() {
  TGlobalFixups& g = GlobalFixups();
  for (size_t i = 0; i < g.list.size();) {
    TComponent* other = FindGlobalComponent(g.list[i].RootName);
    if (!other) {
      ++i;
      continue;
    }
    TGlobalFixup f = g.list[i];
    g.list.erase(g.list.begin() + static_cast<std::ptrdiff_t>(i));
    TComponent* target = f.Rest.empty() ? other : FindNestedComponent(other, f.Rest);
    if (!target) continue;
    try {
      SetObjectProp(f.Instance, f.Prop, target);
    } catch (const Exception& e) {
      throw EReadError("Error reading " + f.Where + ": " + e.GetMessage());
    }
  }
}

void RemoveFixupReferences(TComponent* root, const std::string& rootName) {
  std::erase_if(GlobalFixups().list, [&](const TGlobalFixup& f) {
    return (!root || f.Root == root) && (rootName.empty() || SameName(f.RootName, rootName));
  });
}

void BeginGlobalLoading() { GlobalLoadingStack().push_back(std::make_unique<TLoadingScope>()); }

void NotifyGlobalLoading() {
  auto& stack = GlobalLoadingStack();
  if (stack.empty()) return;
  // Loaded may read another form, which pushes a scope of its own; ours
  // stays where it is.
  TLoadingScope& scope = *stack.back();
  CallLoadedOn(scope);
}

void EndGlobalLoading() {
  auto& stack = GlobalLoadingStack();
  if (!stack.empty()) stack.pop_back();
}

void FinalizeFiler() {
  GlobalFixups().list.clear();
  GlobalFixups().watcher.reset();
  GlobalLoadingStack().clear();
  Finders().clear();
}
