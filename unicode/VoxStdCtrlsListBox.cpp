// The wide list box: wide items in its Unicode LISTBOX window with their
// data, kept across new windows, and the wide data of the virtual styles.
#include <algorithm>

#include "classlib/Classes.h"
#include "classlib/Scopes.h"
#include "classlib/stdctrls/StdCtrlsTables.h"
#include "unicode/VoxStdCtrls.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxWindows.h"

namespace {

constexpr const char* SInsertLineError = "Unable to insert a line";
constexpr const wchar_t* SListIndexErrorW = L"List index out of bounds (%d)";

bool IsVirtualStyle(TCustomListBox* listBox) {
  return listBox->GetStyle() == lbVirtual || listBox->GetStyle() == lbVirtualOwnerDraw;
}

}  // namespace

HWND VoxControl_WideHandle(TWinControl* control) {
  if (!Win32PlatformIsUnicode) return nullptr;
  HWND h = control->GetHandle();
  return IsWindowUnicode(h) ? h : nullptr;
}

// --- TVoxListBoxStrings ----------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxListBoxStrings)

TStrings* TVoxListBoxStrings::Ansi() const { return listBox_->TCustomListBox::GetItems(); }

std::wstring TVoxListBoxStrings::Get(int index) const {
  HWND h = VoxControl_WideHandle(listBox_);
  if (!h) return AnsiToWide(Ansi()->Get(index));
  LRESULT length = SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) Error(SListIndexErrorW, index);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  if (got == LB_ERR) Error(SListIndexErrorW, index);
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
  return text;
}

int TVoxListBoxStrings::GetCount() const { return Ansi()->GetCount(); }
TObject* TVoxListBoxStrings::GetObject(int index) const { return Ansi()->GetObject(index); }
void TVoxListBoxStrings::PutObject(int index, TObject* obj) { Ansi()->PutObject(index, obj); }
void TVoxListBoxStrings::SetUpdateState(bool updating) { Ansi()->SetUpdateState(updating); }

int TVoxListBoxStrings::Add(const std::wstring& s) {
  HWND h = VoxControl_WideHandle(listBox_);
  if (!h) return Ansi()->Add(WideToAnsi(s));
  if (IsVirtualStyle(listBox_)) return -1;
  LRESULT r = SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
  return static_cast<int>(r);
}

void TVoxListBoxStrings::Insert(int index, const std::wstring& s) {
  HWND h = VoxControl_WideHandle(listBox_);
  if (!h) {
    Ansi()->Insert(index, WideToAnsi(s));
    return;
  }
  if (IsVirtualStyle(listBox_)) return;
  if (index < 0 || index > GetCount()) Error(SListIndexErrorW, index);
  LRESULT r = SendMessageW(h, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
}

void TVoxListBoxStrings::Delete(int index) { listBox_->DeleteString(index); }
void TVoxListBoxStrings::Clear() { listBox_->ResetContent(); }

int TVoxListBoxStrings::IndexOf(const std::wstring& s) const {
  HWND h = VoxControl_WideHandle(listBox_);
  if (!h) return Ansi()->IndexOf(WideToAnsi(s));
  return static_cast<int>(
      SendMessageW(h, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TVoxListBoxStrings::Put(int index, const std::wstring& s) {
  if (index < 0 || index >= GetCount()) Error(SListIndexErrorW, index);
  listBox_->ReplaceItem(index, [&] {
    Delete(index);
    InsertObject(index, s, nullptr);
  });
}

void TVoxListBoxStrings::Exchange(int index1, int index2) {
  int count = GetCount();
  if (index1 < 0 || index1 >= count) Error(SListIndexErrorW, index1);
  if (index2 < 0 || index2 >= count) Error(SListIndexErrorW, index2);
  if (index1 == index2) return;
  TUpdateScope update(this);
  LONG_PTR data1 = listBox_->InternalGetItemData(index1);
  std::wstring text1 = Get(index1);
  int selected = listBox_->GetItemIndex();
  Put(index1, Get(index2));
  listBox_->InternalSetItemData(index1, listBox_->InternalGetItemData(index2));
  Put(index2, text1);
  listBox_->InternalSetItemData(index2, data1);
  if (selected == index1) listBox_->SetItemIndex(index2);
  else if (selected == index2) listBox_->SetItemIndex(index1);
}

void TVoxListBoxStrings::Move(int curIndex, int newIndex) {
  // Both indexes are checked before the item is taken out, so a bad target
  // loses nothing.
  int count = GetCount();
  if (curIndex < 0 || curIndex >= count) Error(SListIndexErrorW, curIndex);
  if (newIndex < 0 || newIndex >= count) Error(SListIndexErrorW, newIndex);
  if (curIndex == newIndex) return;
  TUpdateScope update(this);
  listBox_->SetMoving(true);
  TFinally moved([this] { listBox_->SetMoving(false); });
  std::wstring text = Get(curIndex);
  LONG_PTR data = listBox_->InternalGetItemData(curIndex);
  listBox_->InternalSetItemData(curIndex, 0);
  Delete(curIndex);
  Insert(newIndex, text);
  listBox_->InternalSetItemData(newIndex, data);
}

// --- Free routines --------------------------------------------------------------------------------

void VoxListBox_BeforeInherited_DestroyWnd(TCustomListBox* listBox, TVoxStrings* items, TVoxStringList*& saved,
                                           int& topIndex, int& itemIndex) {
  if (IsVirtualStyle(listBox) || items->GetCount() == 0) return;
  Owned<TVoxStringList> copy(New<TVoxStringList>());
  copy->Assign(items);
  FreeAndNil(saved);
  saved = copy.release();
  topIndex = listBox->GetTopIndex();
  itemIndex = listBox->GetItemIndex();
  // Nothing left for the class library to keep as ANSI text.
  items->Clear();
}

void VoxListBox_AfterInherited_CreateWnd(TCustomListBox* listBox, TVoxStrings* items, TVoxStringList*& saved,
                                         int topIndex, int itemIndex) {
  if (!saved) return;
  // Let go of before the assignment can fail, so it is never put back twice.
  Owned<TVoxStringList> copy(saved);
  saved = nullptr;
  items->Assign(copy.get());
  listBox->SetTopIndex(topIndex);
  listBox->SetItemIndex(itemIndex);
}

void VoxListBox_DrawItem_Text(TCustomListBox* listBox, TVoxStrings* items, int index, TRect rect) {
  TCanvas* canvas = listBox->GetCanvas();
  canvas->FillRect(rect);
  if (index >= items->GetCount()) return;
  UINT flags = listBox->DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (!listBox->UseRightToLeftAlignment()) rect.left += 2;
  else rect.right -= 2;
  std::wstring text = items->Get(index);
  Vox_DrawTextW(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void VoxListBox_AddItem(TVoxStrings* items, const std::wstring& item, TObject* object) {
  items->AddObject(item, object);
}

void VoxListBox_CopySelection(TCustomListBox* listBox, TVoxStrings* items, TCustomListControl* destination) {
  if (!destination) return;
  if (listBox->GetMultiSelect()) {
    for (int i = 0; i < items->GetCount(); ++i)
      if (listBox->GetSelected(i)) WideListControl_AddItem(destination, items->Get(i), items->GetObject(i));
  } else if (int i = listBox->GetItemIndex(); i != -1) {
    WideListControl_AddItem(destination, items->Get(i), items->GetObject(i));
  }
}

// --- TVoxCustomListBox ----------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxCustomListBox)

TVoxCustomListBox::TVoxCustomListBox(TComponent* owner) : TVoxControlOf(owner) {
  items_ = New<TVoxListBoxStrings>(this);
}

void TVoxCustomListBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(items_);
  FreeAndNil(savedItems_);
}

void TVoxCustomListBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, L"LISTBOX");
}

void TVoxCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  VoxListBox_AfterInherited_CreateWnd(this, items_, savedItems_, savedTopIndex_, savedItemIndex_);
}

void TVoxCustomListBox::DestroyWnd() {
  VoxListBox_BeforeInherited_DestroyWnd(this, items_, savedItems_, savedTopIndex_, savedItemIndex_);
  inherited::DestroyWnd();
}

void TVoxCustomListBox::AddItem(const std::wstring& item, TObject* object) {
  VoxListBox_AddItem(items_, item, object);
}

void TVoxCustomListBox::CopySelection(TCustomListControl* destination) {
  VoxListBox_CopySelection(this, items_, destination);
}

void TVoxCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (TCustomListBox::OnDrawItem) TCustomListBox::OnDrawItem(this, index, rect, state);
  else VoxListBox_DrawItem_Text(this, items_, index, rect);
}

std::wstring TVoxCustomListBox::DoGetWideData(int index) {
  std::wstring data;
  if (OnData) OnData(this, index, data);
  else data = AnsiToWide(TCustomListBox::DoGetData(index));
  return data;
}

std::string TVoxCustomListBox::DoGetData(int index) {
  if (OnData) return WideToAnsi(DoGetWideData(index));
  return inherited::DoGetData(index);
}

// The virtual styles answer from their data: the wide text into a wide
// caller's buffer (Windows converts for an ANSI caller).
void TVoxCustomListBox::LBGetText(TMessage& m) {
  if (!IsVirtual()) {
    inherited::LBGetText(m);
    return;
  }
  int index = static_cast<int>(m.WParam);
  if (!HasData() || index < 0 || index >= GetCount() || !m.LParam) {
    m.Result = LB_ERR;
    return;
  }
  std::wstring s = DoGetWideData(index);
  if (Win32PlatformIsUnicode) {
    auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
    std::copy(s.begin(), s.end(), buffer);
    buffer[s.size()] = L'\0';
    m.Result = static_cast<LRESULT>(s.size());
  } else {
    std::string ansi = WideToAnsi(s);
    auto* buffer = reinterpret_cast<char*>(m.LParam);
    std::copy(ansi.begin(), ansi.end(), buffer);
    buffer[ansi.size()] = '\0';
    m.Result = static_cast<LRESULT>(ansi.size());
  }
}

void TVoxCustomListBox::LBGetTextLen(TMessage& m) {
  if (!IsVirtual()) {
    inherited::LBGetTextLen(m);
    return;
  }
  int index = static_cast<int>(m.WParam);
  if (!HasData() || index < 0 || index >= GetCount()) {
    m.Result = LB_ERR;
    return;
  }
  std::wstring s = DoGetWideData(index);
  m.Result = static_cast<LRESULT>(Win32PlatformIsUnicode ? s.size() : WideToAnsi(s).size());
}

PUBLISHED(TVoxListBox) {
  PublishListBoxTable(p);
  PublishWideHint(p);
  p.Prop("Items", &TVoxListBox::GetItems, &TVoxListBox::SetItems);
  p.Prop("OnData", &TVoxListBox::GetOnData, &TVoxListBox::SetOnData);
}
