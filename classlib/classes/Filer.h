// The stored-form reader and writer: TFiler, TReader, TWriter, reference
// fixups, inherited forms and forms kept as RCDATA resources.
//
// A stored form is text, one file per form compiled into an RCDATA resource
// named after the form's class in upper case ("TFORMMAIN"):
//
//   object FormMain: TFormMain
//     Caption = 'Start'#13#10'menu'
//     Font.Style = [fsBold]
//     OnClick = FormClick
//     object Button1: TButton
//       Items.Strings = (
//         'one'
//         'two')
//     end
//   end
//
// The reader parses the text directly. It reports the kind of each value
// (NextValue) as the platform's binary form would: integers by magnitude,
// strings longer than 255 bytes as vaLString, a string holding a character
// code above #255 (or a code written with four or more digits, #0233) as a
// wide string, floats by their suffix (s single, c currency, d date).
//
// Reading a component: create it through its class reference, name it and
// bind its owner's published field of that name, give it its parent
// (SetParentComponent) before anything else, then each property: a published
// property first (dotted names walk sub-objects), the instance's
// DefineProperties second. Component references are fixed up once the whole
// tree is read; Loaded runs on every component read, in creation order, after
// that. A failed read frees every component it created and leaves no fixup
// behind.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Win.h"
#include "classlib/System.h"
#include "classlib/TypInfo.h"
#include "classlib/classes/Errors.h"
#include "classlib/classes/Persistent.h"

class TStream;
class TCollection;
class TReader;
class TWriter;

enum TValueType {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String
};
DECLARE_ENUM_TYPE(TValueType);

enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;
DECLARE_ENUM_TYPE(TFilerFlag);

using TReaderProc = std::function<void(TReader* reader)>;
using TWriterProc = std::function<void(TWriter* writer)>;
using TStreamProc = std::function<void(TStream* stream)>;

class TFiler : public TObject {
  DECLARE_CLASS(TFiler, TObject)

  TStream* GetStream() const { return stream_; }
  TComponent* GetRoot() const { return root_; }
  virtual void SetRoot(TComponent* value) { root_ = value; }
  // The root that component references and method names are relative to.
  TComponent* GetLookupRoot() const { return lookupRoot_; }
  // While writing a descendant: the matching object of the ancestor (the
  // ancestor component, or the ancestor's sub-object while its properties are
  // written); null otherwise and always while reading.
  TPersistent* GetAncestor() const { return ancestor_; }
  void SetAncestor(TPersistent* value) { ancestor_ = value; }
  bool GetIgnoreChildren() const { return ignoreChildren_; }
  void SetIgnoreChildren(bool value) { ignoreChildren_ = value; }

  // A property stored beside the published ones. The reader calls readData
  // when the stored name matches (without regard to case); the writer writes
  // the name and calls writeData when hasData is true. Either proc may be
  // null (a retired property is defined with a reader only).
  virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  // The same for a block of bytes: the procs get a memory stream holding the
  // data (read from position 0 / written from the start).
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;

 protected:
  explicit TFiler(TStream* stream) : stream_(stream) {}

  TStream* stream_;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
  bool ignoreChildren_ = false;
};

// ---------------------------------------------------------------------------

// Reader events. Each may change its by-reference arguments.
using TFindMethodEvent = std::function<void(TReader* reader, const std::string& methodName,
                                            TMethod& method, bool& error)>;
using TSetNameEvent = std::function<void(TReader* reader, TComponent* component, std::string& name)>;
using TReferenceNameEvent = std::function<void(TReader* reader, std::string& name)>;
using TAncestorNotFoundEvent = std::function<void(TReader* reader, const std::string& componentName,
                                                  TClass componentClass, TComponent*& component)>;
using TFindComponentClassEvent = std::function<void(TReader* reader, const std::string& className,
                                                    TClass& componentClass)>;
using TCreateComponentEvent = std::function<void(TReader* reader, TClass componentClass,
                                                 TComponent*& component)>;
// Handled = true skips the offending property's value and goes on.
using TReaderError = std::function<void(TReader* reader, const std::string& message, bool& handled)>;
using TReadComponentsProc = std::function<void(TComponent* component)>;

class TFormParser;
struct TReaderState;

class TReader : public TFiler {
  DECLARE_CLASS(TReader, TFiler)

  // Takes the text from the stream's position to its end. When the reader is
  // freed, the stream is left just after what was read.
  explicit TReader(TStream* stream);
  ~TReader() override;

  TComponent* GetOwner() const { return owner_; }
  void SetOwner(TComponent* value) { owner_ = value; }
  TComponent* GetParent() const { return parent_; }
  void SetParent(TComponent* value) { parent_ = value; }
  // The property (last part of a dotted name) being read; DefineProperty
  // clears it when it takes the value.
  const std::string& GetPropName() const { return propName_; }
  // The line of the text the reader is at (1-based).
  int GetLine() const;

  TFindMethodEvent OnFindMethod;
  TSetNameEvent OnSetName;
  TReferenceNameEvent OnReferenceName;
  TAncestorNotFoundEvent OnAncestorNotFound;
  TFindComponentClassEvent OnFindComponentClass;
  TCreateComponentEvent OnCreateComponent;
  TReaderError OnError;

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // --- Values ----------------------------------------------------------------
  // The kind of the next value, not consumed. A list's ")", a collection's
  // ">", "end", the start of another object and the end of the text are
  // vaNull (the end of a list).
  TValueType NextValue();
  // Consumes a scalar value whole, or the opening of a list "(", a collection
  // "<" or a set "[" (then ReadStr gives the set's names until ""), or a list
  // end; returns its kind.
  TValueType ReadValue();
  void SkipValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  char ReadChar();
  wchar_t ReadWideChar();
  int ReadInteger();
  int64_t ReadInt64();
  // Floats of any suffix and integers.
  double ReadFloat();
  float ReadSingle();
  double ReadCurrency();
  double ReadDate();
  // An ANSI value as it is; a wide value converted through the ANSI code page.
  std::string ReadString();
  // A wide value as it is; an ANSI value widened through the ANSI code page.
  std::wstring ReadWideString();
  // An identifier; True, False and nil give their names.
  std::string ReadIdent();
  // Inside a set (after ReadValue gave vaSet): the next name, "" at the end.
  // Elsewhere: the next identifier.
  std::string ReadStr();
  // A set value of setType (a tkSet type record) as its bit mask.
  int64_t ReadSet(const TTypeInfo* setType);
  template <class E>
  TSet<E> ReadSet() {
    return TSet<E>::FromBits(static_cast<uint64_t>(ReadSet(TypeInfo<TSet<E>>())));
  }

  // --- Components --------------------------------------------------------------
  // Checks that the text starts with an object.
  void ReadSignature();
  // Reads one whole stored form into root (null: creates the root from the
  // class the text names), then fixes references up and calls Loaded. Nothing
  // but blanks may follow the root's "end".
  TComponent* ReadRootComponent(TComponent* root);
  // Reads one object: creates it (null component) as a child of Owner/Parent,
  // or fills the one given.
  TComponent* ReadComponent(TComponent* component);
  // Reads objects until the end of the text, each owned by owner and parented
  // to parent; proc gets each one.
  void ReadComponents(TComponent* owner, TComponent* parent, const TReadComponentsProc& proc);
  // The items of a collection after its "<" (ReadValue gave vaCollection).
  void ReadCollection(TCollection* collection);
  // The body of an object: its properties, its children, its "end" (what
  // TComponent::ReadState calls).
  void ReadData(TComponent* instance);
  // One "Name = value" line of instance.
  void ReadProperty(TPersistent* instance);

  // Raises EReadError "Line N: message" at the reader's position.
  [[noreturn]] void ReadError(const std::string& message);

 protected:
  void Destroy() override;

 private:
  friend struct TReaderState;
  void ReadPropValue(TPersistent* instance, PPropInfo prop);
  void ReadDataInner(TComponent* instance);
  void SkipComponent();
  void ReadObjectHeader(TFilerFlags& flags, int& childPos, std::string& name, std::string& className);
  TComponent* FindExistingComponent(const std::string& name, const std::string& className, int line);
  TComponent* CreateComponent(const std::string& className, int line);
  TClass FindComponentClass(const std::string& className, int line);
  void SetCompName(TComponent* component, const std::string& name);
  TMethod FindMethodInstance(const std::string& name);
  void AddFixup(TPersistent* instance, PPropInfo prop, const std::string& name);
  void DoFixupReferences();
  void CallLoaded();
  bool EndOfProperties();
  [[noreturn]] void PropValueError();

  std::unique_ptr<TFormParser> parser_;
  std::unique_ptr<TReaderState> state_;
  int64_t streamStart_ = 0;
  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  std::string propName_;
  // "Button1.Font.Name" while that property is read, for errors.
  std::string propWhere_;
  // The component whose properties are being read (errors name it; fixups
  // of its sub-objects and items are dropped with it).
  TComponent* current_ = nullptr;
  bool canHandleExcepts_ = true;
};

// ---------------------------------------------------------------------------

class TWriter : public TFiler {
  DECLARE_CLASS(TWriter, TFiler)

  // The text is kept until the writer is freed (or FlushBuffer), then written
  // to the stream at its position. A writer freed while an exception leaves
  // writes nothing, so a failed write leaves no half-written form. A null
  // stream collects the text only (GetText).
  explicit TWriter(TStream* stream);

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  TComponent* GetRootAncestor() const { return rootAncestor_; }
  const std::string& GetPropPath() const { return propPath_; }
  // The text written and not yet flushed.
  const std::string& GetText() const { return out_; }
  void FlushBuffer();

  // --- Values ----------------------------------------------------------------
  void WriteBoolean(bool value);
  void WriteChar(char value);
  void WriteWideChar(wchar_t value);
  // Integers carry no kind in the text: the reader gives the smallest kind
  // that holds the value.
  void WriteInteger(int64_t value);
  void WriteInt64(int64_t value);
  // Raise EWriteError for infinities and NaN, which the text cannot hold.
  void WriteFloat(double value);
  void WriteSingle(float value);
  void WriteCurrency(double value);
  void WriteDate(double value);
  void WriteString(const std::string& value);
  // Text that holds a character above #127 is written as a wide string.
  void WriteWideString(const std::wstring& value);
  void WriteIdent(const std::string& ident);
  // "[a, b]" from a set type record and a bit mask.
  void WriteSet(const TTypeInfo* setType, int64_t value);
  void WriteBinary(const void* data, size_t size);
  void WriteListBegin();
  void WriteListEnd();
  void WriteCollection(TCollection* collection);

  // --- Components --------------------------------------------------------------
  void WriteSignature() {}
  void WriteRootComponent(TComponent* root);
  // Writes root as a descendant of ancestor: what equals the ancestor is left
  // out, and the ancestor's components appear as "inherited" objects.
  void WriteDescendent(TComponent* root, TComponent* ancestor);
  void WriteComponent(TComponent* component);
  // The object of instance: header, properties, children, "end" (what
  // TComponent::WriteState calls).
  void WriteData(TComponent* instance);
  // The published properties of instance, then its defined ones.
  void WriteProperties(TPersistent* instance);
  void WritePropName(const std::string& name);

 protected:
  void Destroy() override;

 private:
  struct TContext {
    int indent;
  };
  void WriteProperty(TPersistent* instance, PPropInfo prop);
  void BeginValue();
  int ValueIndent() const;
  void NewLine(int indent);
  void WriteFloatText(double value, bool single, char suffix);
  std::string GetComponentValue(TComponent* component, TComponent* lookupRoot) const;
  bool CollectionsEqual(TCollection* a, TCollection* b);

  std::string out_;
  std::vector<TContext> lists_;
  bool afterName_ = false;
  bool anyLine_ = false;  // a line was begun: the next one starts with CR LF
  int indent_ = 2;      // of the property lines of the object being written
  int objIndent_ = 0;   // of the next object header
  int written_ = 0;     // property lines and objects written so far
  std::string propPath_;
  TComponent* rootAncestor_ = nullptr;
  // The root being written: its methods are the events the text can name
  // (also on the children of a frame placed on it).
  TComponent* methodRoot_ = nullptr;
  std::vector<TComponent*> ancestorChildren_;
  int uncaughtAtStart_ = 0;
};

// ---------------------------------------------------------------------------
// Components of other roots and pending references.

// Finds a root component (a form, a data module) by name; registered by the
// units that keep such roots (the forms unit registers the screen's forms).
using TFindGlobalComponent = std::function<TComponent*(const std::string& name)>;
// Returns an id for UnregisterFindGlobalComponentProc.
int RegisterFindGlobalComponentProc(TFindGlobalComponent proc);
void UnregisterFindGlobalComponentProc(int id);
TComponent* FindGlobalComponent(const std::string& name);

// The component at the dotted path below root ("Panel1", "Frame1.Button1"),
// searched through the components each one owns; null when missing.
TComponent* FindNestedComponent(TComponent* root, const std::string& path);

// Applies the references that name a component of another root ("Form2.
// Button1") once that root can be found; called after every root is read.
void GlobalFixupReferences();
// Drops the pending references made by root's components (all roots when
// null) that name rootName (any when empty).
void RemoveFixupReferences(TComponent* root, const std::string& rootName);

// While global loading is on, readers collect the components they read in
// one list and leave Loaded to NotifyGlobalLoading: an inherited form read
// level by level sees Loaded once, after its last level.
void BeginGlobalLoading();
void NotifyGlobalLoading();
void EndGlobalLoading();

// The lock that keeps class registration and form loading of different
// threads apart. Re-entrant on one thread.
class TGlobalNameSpace {
 public:
  void BeginRead();
  void EndRead();
  bool BeginWrite();
  void EndWrite();
};
TGlobalNameSpace& GlobalNameSpace();

// ---------------------------------------------------------------------------
// Stored forms in RCDATA resources.

// The module whose resources hold the forms of cls (the module its code is in).
HINSTANCE FindClassHInstance(TClass cls);
// Reads the RCDATA resource resName of module into instance (null: the
// resource's own class is created). False when there is no such resource.
bool InternalReadComponentRes(const std::string& resName, HINSTANCE module, TComponent*& instance);
// Raises EResNotFound "Resource %s not found" when resName is missing.
TComponent* ReadComponentRes(const std::string& resName, TComponent* instance);
TComponent* ReadComponentResEx(HINSTANCE module, const std::string& resName);
// Reads the stored forms of instance's classes, from the one just below
// rootAncestor down to instance's own class (each resource named after its
// class in upper case), under the global name-space lock and global loading,
// so that Loaded runs once at the end. False when no class had a resource.
bool InitInheritedComponent(TComponent* instance, TClass rootAncestor);

// Unit start-up entry of the stored-form units.
void FinalizeFiler();
