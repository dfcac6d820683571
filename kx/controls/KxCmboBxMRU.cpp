// TKxMRUComboBox: the history combo box and its edit menu.
#include <algorithm>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxCmboBx.h"

namespace {

constexpr const char* kRemoveItemCaption = "&Remove item from history list";

// The menu's items: the shell's string number of each caption (0: a
// separator, -1: RemoveItemCaption).
constexpr int kMenuCaptions[10] = {33563, 0, 33560, 33561, 33562, 33553, 0, 4171, 0, -1};

std::string CountName(const std::string& id) { return id + "_Count"; }
std::string ItemPrefix(const std::string& id) { return id + "_Item"; }
std::string ItemName(const std::string& id, int n) { return ItemPrefix(id) + IntToStr(n); }

// The numbers below count that name an entry the section holds, ascending
// and once each. The count limits what is read, but a damaged one (tens of
// thousands, or near 2^31) must not cost one read per number: the section's
// names are listed once and only the entries found there are read. A name
// matches as the store looks it up (ignoring case); a number spelt another
// way ("Item07", "Item+7") is no name that a numbered read would find.
std::vector<int> StoredEntryNumbers(TKxRegIniFile* store, const std::string& section, const std::string& id,
                                    int count) {
  std::vector<int> numbers;
  if (count <= 0) return numbers;
  Owned<TStringList> names(New<TStringList>());
  store->ReadSection(section, names.get());
  std::string prefix = ItemPrefix(id);
  for (int i = 0; i < names->GetCount(); ++i) {
    std::string name = names->Get(i);
    if (name.size() <= prefix.size() || !AnsiSameText(name.substr(0, prefix.size()), prefix)) continue;
    std::string digits = name.substr(prefix.size());
    int n = 0;
    if (!TryStrToInt(digits, n) || n < 0 || n >= count || IntToStr(n) != digits) continue;
    numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

std::string ShellString(UINT id) {
  HMODULE shell = LoadLibraryA("Shell32");
  if (!shell) return std::string();
  char buffer[256] = {};
  int length = LoadStringA(shell, id, buffer, sizeof buffer);
  FreeLibrary(shell);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}



TKxMRUComboBox::TKxMRUComboBox(TComponent* owner) : TKxCustomComboBox(owner), removeItemCaption_(kRemoveItemCaption) {
  SetSorted(false);
}

void TKxMRUComboBox::AfterConstruction() {
  inherited::AfterConstruction();
  // The menu is made once the control is whole, so that a descendant's
  // overrides build it.
  CreatePopupMenuItems();
  InitializePopupMenuItems();
  AddMenuItemsToPopupMenu();
}

// --- the store --------------------------------------------------------------------

bool TKxMRUComboBox::HasStore() const {
  return (!mruPath_.empty() || mruRegIniFile_) && !mruSection_.empty() && !mruID_.empty();
}

template <class F>
void TKxMRUComboBox::WithStore(F fn) {
  if (!HasStore()) return;
  if (mruRegIniFile_) {
    fn(mruRegIniFile_);
    return;
  }
  Owned<TKxRegIniFile> temporary(New<TKxRegIniFile>(nullptr));
  temporary->SetPathType(ptRegistry);
  temporary->SetPath(mruPath_);
  fn(temporary.get());
}

void TKxMRUComboBox::SetMruRegIniFile(TKxRegIniFile* value) {
  if (mruRegIniFile_ == value) return;
  mruRegIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TKxMRUComboBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == mruRegIniFile_) mruRegIniFile_ = nullptr;
}

void TKxMRUComboBox::LoadMRUData(bool reorder) {
  if (IsDesigning()) return;
  WithStore([&](TKxRegIniFile* store) {
    TStrings* items = GetItems();
    int count = store->ReadInteger(mruSection_, CountName(mruID_), 0);
    for (int n : StoredEntryNumbers(store, mruSection_, mruID_, count)) {
      std::string s = store->ReadString(mruSection_, ItemName(mruID_, n), "");
      if (s.empty()) continue;
      int at = items->IndexOf(s);
      if (!reorder) {
        if (at < 0) items->Add(s);
        continue;
      }
      if (at < 0) at = items->Add(s);
      // A skipped empty entry leaves fewer items than numbers: a later
      // entry then goes to the end, never past it.
      int target = std::min(n, items->GetCount() - 1);
      if (at != target) items->Move(at, target);
    }
    if (selectFirstItemOnLoad_ && items->GetCount() > 0) SetItemIndex(0);
  });
  loaded_ = true;
}

void TKxMRUComboBox::SaveMRUData() {
  WithStore([&](TKxRegIniFile* store) {
    TStrings* items = GetItems();
    int count = std::min(items->GetCount(), maxHistory_);
    store->WriteInteger(mruSection_, CountName(mruID_), count);
    for (int n = 0; n < count; ++n) store->WriteString(mruSection_, ItemName(mruID_, n), items->Get(n));
    for (int n = count; n < maxHistory_; ++n) store->DeleteKey(mruSection_, ItemName(mruID_, n));
  });
}

void TKxMRUComboBox::UpdateMRUList() {
  std::string text = GetText();
  if (text.empty()) return;
  TStrings* items = GetItems();
  int at = items->IndexOf(text);
  if (at < 0) {
    items->Insert(0, text);
  } else {
    items->Move(at, 0);
    if (GetStyle() == csDropDownList) {
      SetItemIndex(0);
    } else {
      SetText(text);
    }
  }
  SaveMRUData();
}

void TKxMRUComboBox::Loaded() {
  inherited::Loaded();
  LoadMRUData(true);
}

void TKxMRUComboBox::CreateWnd() {
  inherited::CreateWnd();
  if (!IsLoading() && !loaded_ && HasStore()) LoadMRUData(false);
}

// --- keys ---------------------------------------------------------------------------------

void TKxMRUComboBox::EnterKeyPressed() {
  if (OnEnterKeyPressed) OnEnterKeyPressed(this);
}

void TKxMRUComboBox::EscapeKeyPressed() {
  if (OnEscapeKeyPressed) OnEscapeKeyPressed(this);
}

void TKxMRUComboBox::KeyPress(char& key) {
  if (key == VK_RETURN) {
    UpdateMRUList();
    EnterKeyPressed();
    if (GetTabOnEnter()) {
      key = 0;
      PostMessageA(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    }
    return;
  }
  if (key == VK_ESCAPE) {
    EscapeKeyPressed();
    return;
  }
  inherited::KeyPress(key);
}

void TKxMRUComboBox::DoExit() {
  inherited::DoExit();
  UpdateMRUList();
}

// --- the edit menu ------------------------------------------------------------------------

void TKxMRUComboBox::SetRemoveItemCaption(const std::string& value) {
  removeItemCaption_ = value;
  if (items_[9]) items_[9]->SetCaption(value);
}

bool TKxMRUComboBox::IsRemoveItemCaptionStored() const { return removeItemCaption_ != kRemoveItemCaption; }

void TKxMRUComboBox::CreatePopupMenuItems() {
  menu_ = New<TPopupMenu>(this);
  SetPopupMenu(menu_);
  for (auto*& item : items_) item = New<TMenuItem>(menu_);
}

void TKxMRUComboBox::SetupMenuItem(TMenuItem* item, const std::string& caption, TNotifyEvent onClick, bool checked,
                                   bool radioItem, int groupIndex, TShortCut shortCut) {
  item->SetCaption(caption);
  item->SetOnClick(onClick);
  item->SetChecked(checked);
  item->SetRadioItem(radioItem);
  item->SetGroupIndex(static_cast<uint8_t>(groupIndex));
  item->SetShortCut(shortCut);
  item->SetTag(tag_++);
}

void TKxMRUComboBox::InitializePopupMenuItems() {
  using M = TKxMRUComboBox;
  const TNotifyEvent clicks[10] = {TNotifyEvent(this, &M::UndoClick),   TNotifyEvent(),
                                   TNotifyEvent(this, &M::CutClick),    TNotifyEvent(this, &M::CopyClick),
                                   TNotifyEvent(this, &M::PasteClick),  TNotifyEvent(this, &M::DeleteClick),
                                   TNotifyEvent(),                      TNotifyEvent(this, &M::SelectAllClick),
                                   TNotifyEvent(),                      TNotifyEvent(this, &M::RemoveClick)};
  for (int i = 0; i < 10; ++i) {
    int id = kMenuCaptions[i];
    std::string caption = id == 0 ? "-" : id < 0 ? removeItemCaption_ : ShellString(static_cast<UINT>(id));
    SetupMenuItem(items_[i], caption, clicks[i], false, false, 0, 0);
  }
}

void TKxMRUComboBox::AddMenuItemsToPopupMenu() {
  menu_->SetOnPopup(TNotifyEvent(this, &TKxMRUComboBox::MenuPopup));
  for (TMenuItem* item : items_) menu_->GetItems()->Add(item);
}

void TKxMRUComboBox::MenuPopup(TObject*) {
  if (!HandleAllocated()) return;
  ::SetFocus(GetWindowHandle());
  if (!TCustomCombo::Focused()) return;
  bool selection = GetSelLength() > 0;
  bool text = !GetText().empty();
  items_[0]->SetEnabled(GetEditHandle() && SendMessageA(GetEditHandle(), EM_CANUNDO, 0, 0) != 0);
  items_[2]->SetEnabled(selection);
  items_[3]->SetEnabled(selection);
  items_[4]->SetEnabled(!Clipboard()->GetAsText().empty());
  items_[5]->SetEnabled(selection);
  items_[7]->SetEnabled(text);
  items_[9]->SetEnabled(text);
}

void TKxMRUComboBox::UndoClick(TObject*) {
  if (GetEditHandle()) SendMessageA(GetEditHandle(), EM_UNDO, 0, 0);
}

void TKxMRUComboBox::CutClick(TObject*) { Perform(WM_CUT, 0, 0); }
void TKxMRUComboBox::CopyClick(TObject*) { Perform(WM_COPY, 0, 0); }
void TKxMRUComboBox::PasteClick(TObject*) { Perform(WM_PASTE, 0, 0); }
void TKxMRUComboBox::DeleteClick(TObject*) { Perform(WM_CLEAR, 0, 0); }
void TKxMRUComboBox::SelectAllClick(TObject*) { Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, -1)); }

void TKxMRUComboBox::RemoveClick(TObject*) {
  int at = GetItems()->IndexOf(GetText());
  if (at >= 0) {
    GetItems()->Delete(at);
    SaveMRUData();
  }
  SetText("");
  Change();
}

PUBLISHED(TKxMRUComboBox) {
  using T = TKxMRUComboBox;
  PublishKxComboBoxProps(p);
  p.Prop("MaxHistory", &T::GetMaxHistory, &T::SetMaxHistory).Default(25);
  p.Prop("MruPath", &T::GetMruPath, &T::SetMruPath);
  p.Prop("MruRegIniFile", &T::GetMruRegIniFile, &T::SetMruRegIniFile);
  p.Prop("MruSection", &T::GetMruSection, &T::SetMruSection);
  p.Prop("MruID", &T::GetMruID, &T::SetMruID);
  p.Prop("RemoveItemCaption", &T::GetRemoveItemCaption, &T::SetRemoveItemCaption)
      .Stored(&T::IsRemoveItemCaptionStored);
  p.Prop("SelectFirstItemOnLoad", &T::GetSelectFirstItemOnLoad, &T::SetSelectFirstItemOnLoad).Default(false);
  p.Prop("OnEnterKeyPressed", &T::GetOnEnterKeyPressed, &T::SetOnEnterKeyPressed);
  p.Prop("OnEscapeKeyPressed", &T::GetOnEscapeKeyPressed, &T::SetOnEscapeKeyPressed);
}
