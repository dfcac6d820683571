#include "kx/foundation/KxChkLst.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <utility>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "classlib/classes/TextLines.h"
#include "classlib/graphics/Resources.h"
#include "classlib/stdctrls/ItemTexts.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {
constexpr const char* SInsertLineError = "Unable to insert a line";
// The built-in glyphs' size.
constexpr int kGlyphSize = 13;
}  // namespace

// ---------------------------------------------------------------------------
// Line format

std::string CheckListItemLine(const std::string& text, const TPacket& packet) {
  return Format("&%d %d %s %s", {packet.Enabled ? 1 : 0, static_cast<int>(packet.State), text, "\r\n"});
}

namespace {
// The flags of one line of the format; the text is what follows them.
std::string_view ReadItemLineFlags(std::string_view line, TPacket& packet) {
  packet = TPacket{};
  if (line.empty() || line[0] != '&') return line;
  packet.Enabled = line.size() >= 2 && line[1] == '1';
  if (line.size() >= 4) {
    // Anything but a digit goes through StrToInt, so that it fails with the
    // class library's conversion error.
    char c = line[3];
    int state = c >= '0' && c <= '9' ? c - '0' : StrToInt(std::string(1, c));
    packet.State = state >= cbUnchecked && state <= cbGrayed ? static_cast<uint8_t>(state) : uint8_t{cbUnchecked};
  }
  // An empty text is an empty view at the line's end, still inside the text.
  return line.substr(std::min<size_t>(line.size(), 5));
}
}  // namespace

void ReadCheckListItemLine(const std::string& line, TPacket& packet, std::string& text) {
  text = ReadItemLineFlags(line, packet);
}

// ---------------------------------------------------------------------------
// TPacketStringList

namespace {
// AddStrings of the two lists that keep packets: texts and objects, and the
// source's packets where it keeps them, inside one update.
template <class List>
void AddStringsWithPackets(List* list, TStrings* source) {
  TUpdateScope update(list);
  const int count = source->GetCount();
  for (int i = 0; i < count; ++i) {
    TPacket packet;
    bool hasPacket = GetPacketOf(source, i, packet);
    int index = list->AddObject(source->Get(i), source->GetObject(i));
    if (hasPacket && index >= 0) list->SetPacket(index, packet);
  }
}
}  // namespace

IMPLEMENT_CLASS(TPacketStringList)

TPacket TPacketStringList::GetPacket(int index) const {
  if (index < 0 || index >= static_cast<int>(packets_.size())) Error(SListIndexError, index);
  return packets_[static_cast<size_t>(index)];
}

void TPacketStringList::SetPacket(int index, const TPacket& packet) {
  if (index < 0 || index >= static_cast<int>(packets_.size())) Error(SListIndexError, index);
  packets_[static_cast<size_t>(index)] = packet;
}

void TPacketStringList::InsertItem(int index, const std::string& s, TObject* obj) {
  int before = GetCount();
  try {
    inherited::InsertItem(index, s, obj);
  } catch (...) {
    // A change event that raised after the string went in: its packet goes
    // in too, so that the two lists stay in step.
    if (GetCount() > before) packets_.insert(packets_.begin() + index, TPacket{});
    throw;
  }
  packets_.insert(packets_.begin() + index, TPacket{});
}

void TPacketStringList::Delete(int index) {
  int before = GetCount();
  try {
    inherited::Delete(index);
  } catch (...) {
    if (GetCount() < before) packets_.erase(packets_.begin() + index);
    throw;
  }
  packets_.erase(packets_.begin() + index);
}

void TPacketStringList::Clear() {
  try {
    inherited::Clear();
  } catch (...) {
    if (GetCount() == 0) packets_.clear();
    throw;
  }
  packets_.clear();
}

void TPacketStringList::Exchange(int index1, int index2) {
  inherited::Exchange(index1, index2);
  std::swap(packets_[static_cast<size_t>(index1)], packets_[static_cast<size_t>(index2)]);
}

void TPacketStringList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  TPacket packet = GetPacket(curIndex);
  inherited::Move(curIndex, newIndex);
  packets_[static_cast<size_t>(newIndex)] = packet;
}

void TPacketStringList::AddStrings(TStrings* strings) { AddStringsWithPackets(this, strings); }

bool GetPacketOf(TStrings* strings, int index, TPacket& packet) {
  if (auto* list = dynamic_cast<TPacketStringList*>(strings)) {
    packet = list->GetPacket(index);
    return true;
  }
  if (auto* items = dynamic_cast<TKxCheckListStrings*>(strings)) {
    packet = items->GetPacket(index);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// TKxCheckListStrings

IMPLEMENT_CLASS(TKxCheckListStrings)

HWND TKxCheckListStrings::Window() const { return checkList_->GetHandle(); }

void TKxCheckListStrings::CheckPacketIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(packets_.size())) TList::Error(SListIndexError, index);
}

TPacket TKxCheckListStrings::GetPacket(int index) const {
  CheckPacketIndex(index);
  return packets_[static_cast<size_t>(index)];
}

void TKxCheckListStrings::SetPacket(int index, const TPacket& packet) {
  CheckPacketIndex(index);
  packets_[static_cast<size_t>(index)] = packet;
}

int TKxCheckListStrings::GetCount() const {
  if (!checkList_) return -1;
  return static_cast<int>(SendMessageA(Window(), LB_GETCOUNT, 0, 0));
}

std::string TKxCheckListStrings::Get(int index) const {
  if (!checkList_) Error(SListIndexError, index);
  HWND h = Window();
  std::string s;
  if (!ReadListBoxItem(h, checkList_->GetDefWndProc(), index, s)) Error(SListIndexError, index);
  return s;
}

void TKxCheckListStrings::Put(int index, const std::string& s) {
  TPacket packet = GetPacket(index);
  inherited::Put(index, s);
  SetPacket(index, packet);
}

TObject* TKxCheckListStrings::GetObject(int index) const {
  if (!checkList_) return nullptr;
  LRESULT data = SendMessageA(Window(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data == LB_ERR) Error(SListIndexError, index);
  return reinterpret_cast<TObject*>(data);
}

void TKxCheckListStrings::PutObject(int index, TObject* obj) {
  if (!checkList_) return;
  if (SendMessageA(Window(), LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(obj)) == LB_ERR)
    Error(SListIndexError, index);
}

int TKxCheckListStrings::InsertString(UINT msg, int index, const std::string& s) {
  // Drawing waits until the packet is in place: the window may paint the new
  // item before this returns.
  LRESULT r;
  {
    checkList_->SetChangingItems(true);
    TFinally drawing([this] { checkList_->SetChangingItems(false); });
    r = SendMessageA(Window(), msg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    if (r >= 0)
      packets_.insert(packets_.begin() + std::min<LRESULT>(r, static_cast<LRESULT>(packets_.size())), TPacket{});
  }
  if (r < 0) throw EOutOfResources(SInsertLineError);
  return static_cast<int>(r);
}

int TKxCheckListStrings::Add(const std::string& s) {
  if (!checkList_) return -1;
  return InsertString(LB_ADDSTRING, -1, s);
}

void TKxCheckListStrings::Insert(int index, const std::string& s) {
  if (!checkList_) return;
  if (index < 0 || index > GetCount()) Error(SListIndexError, index);
  InsertString(LB_INSERTSTRING, index, s);
}

void TKxCheckListStrings::Delete(int index) {
  if (!checkList_) return;
  if (SendMessageA(Window(), LB_DELETESTRING, static_cast<WPARAM>(index), 0) == LB_ERR)
    Error(SListIndexError, index);
  if (index >= 0 && index < static_cast<int>(packets_.size())) packets_.erase(packets_.begin() + index);
}

void TKxCheckListStrings::Clear() {
  if (!checkList_) return;
  SendMessageA(Window(), LB_RESETCONTENT, 0, 0);
  packets_.clear();
}

void TKxCheckListStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  TPacket packet = GetPacket(curIndex);
  inherited::Move(curIndex, newIndex);
  SetPacket(newIndex, packet);
}

void TKxCheckListStrings::Exchange(int index1, int index2) {
  if (index1 == index2) return;
  TPacket packet1 = GetPacket(index1);
  TPacket packet2 = GetPacket(index2);
  {
    TUpdateScope update(this);
    inherited::Exchange(index1, index2);
  }
  SetPacket(index1, packet2);
  SetPacket(index2, packet1);
}

void TKxCheckListStrings::AddStrings(TStrings* strings) { AddStringsWithPackets(this, strings); }

void TKxCheckListStrings::SetUpdateState(bool updating) {
  if (!checkList_) return;
  SendMessageA(Window(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) checkList_->Refresh();
}

void TKxCheckListStrings::LoadFromStream(TStream* stream) {
  // The text split as string lists split it, the lines read straight from
  // the text up to the first one that cannot be read. The list is then
  // cleared and given the lines read, and that line's conversion error is
  // raised afterwards: a file with a bad line keeps the items before it, as
  // stored files have always been read. A list without a check list only
  // reads the lines (it stays empty).
  std::string text = ReadRestOfStream(stream);
  std::vector<std::string_view> texts;
  std::vector<TPacket> packets;
  size_t bytes = 0;
  std::exception_ptr badLine;
  ForEachTextLine(text, [&](std::string_view line) {
    if (badLine) return;
    TPacket packet;
    std::string_view itemText;
    try {
      itemText = ReadItemLineFlags(line, packet);
    } catch (...) {
      badLine = std::current_exception();
      return;
    }
    if (!checkList_) return;
    texts.push_back(itemText);
    packets.push_back(packet);
    bytes += itemText.size() + 1;
  });
  // Each item's text ends where its line ends: a NUL there makes it the C
  // string the window takes, without a copy of every line.
  for (std::string_view t : texts) text[static_cast<size_t>(t.data() + t.size() - text.data())] = '\0';
  const int count = static_cast<int>(texts.size());
  {
    TUpdateScope update(this);
    Clear();
    if (checkList_ && count > 0) {
      // One allocation for all the items instead of one per few items.
      SendMessageA(Window(), LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes));
      packets_.reserve(static_cast<size_t>(count));
      // The strings go to the list box's own procedure, all inside one
      // changing bracket: the class library's message chain and the list's
      // fitting to its items (the extent, automatic tab stops: a pass over
      // every item each) run once at the end instead of once per item.
      HWND h = Window();
      WNDPROC own = checkList_->GetDefWndProc();
      checkList_->SetChangingItems(true);
      TFinally fit([this] {
        checkList_->SetChangingItems(false);
        // Fitting the stops measures the extent through them as well.
        if (checkList_->GetTabStopsMode() == tsmAutomatic) checkList_->AdjustTabStops();
        else if (checkList_->GetHorzScrollBar()) checkList_->AdjustHorzExtent();
      });
      for (size_t i = 0; i < texts.size(); ++i) {
        LRESULT r = CallWindowProcA(own, h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i].data()));
        if (r < 0) throw EOutOfResources(SInsertLineError);
        packets_.insert(packets_.begin() + std::min<LRESULT>(r, static_cast<LRESULT>(packets_.size())), packets[i]);
      }
    }
  }
  if (badLine) std::rethrow_exception(badLine);
}

void TKxCheckListStrings::SaveToStream(TStream* stream) {
  std::string text;
  const int count = GetCount();
  for (int i = 0; i < count; ++i) text += CheckListItemLine(Get(i), GetPacket(i));
  if (!text.empty()) stream->WriteBuffer(text.data(), static_cast<int>(text.size()));
}

void TKxCheckListStrings::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  bool hasItems = GetCount() > 0;
  filer->DefineProperty(
      "ItemEnabled", [this](TReader* r) { ReadItemEnabled(r); }, [this](TWriter* w) { WriteItemEnabled(w); },
      hasItems);
  filer->DefineProperty(
      "ItemState", [this](TReader* r) { ReadItemState(r); }, [this](TWriter* w) { WriteItemState(w); }, hasItems);
}

void TKxCheckListStrings::ReadItemEnabled(TReader* reader) {
  reader->ReadListBegin();
  const int count = static_cast<int>(packets_.size());
  for (int i = 0; !reader->EndOfList(); ++i) {
    bool enabled = reader->ReadBoolean();
    if (i < count) packets_[static_cast<size_t>(i)].Enabled = enabled;
  }
  reader->ReadListEnd();
}

void TKxCheckListStrings::WriteItemEnabled(TWriter* writer) {
  writer->WriteListBegin();
  for (const TPacket& p : packets_) writer->WriteBoolean(p.Enabled);
  writer->WriteListEnd();
}

void TKxCheckListStrings::ReadItemState(TReader* reader) {
  reader->ReadListBegin();
  const int count = static_cast<int>(packets_.size());
  for (int i = 0; !reader->EndOfList(); ++i) {
    int state = reader->ReadInteger();
    // A state no check box knows reads as unchecked.
    if (i < count)
      packets_[static_cast<size_t>(i)].State =
          state >= cbUnchecked && state <= cbGrayed ? static_cast<uint8_t>(state) : uint8_t{cbUnchecked};
  }
  reader->ReadListEnd();
}

void TKxCheckListStrings::WriteItemState(TWriter* writer) {
  writer->WriteListBegin();
  for (const TPacket& p : packets_) writer->WriteInteger(p.State);
  writer->WriteListEnd();
}

// ---------------------------------------------------------------------------
// TKxCheckList

PUBLISHED(TKxCheckList) {
  PublishKxListBoxProps(p);
  p.Prop("TabStops", &TKxCheckList::GetTabStops, &TKxCheckList::SetTabStops).Stored(&TKxCheckList::IsTabStopsStored);
  p.Prop("TabStopsMode", &TKxCheckList::GetTabStopsMode, &TKxCheckList::SetTabStopsMode).Default(tsmManual);
  p.Prop("AllowGrayed", &TKxCheckList::GetAllowGrayed, &TKxCheckList::SetAllowGrayed).Default(false);
  p.Prop("CustomGlyphs", &TKxCheckList::GetCustomGlyphs, &TKxCheckList::SetCustomGlyphs);
  p.Prop("HighlightColor", &TKxCheckList::GetHighlightColor, &TKxCheckList::SetHighlightColor)
      .Default(clHighlight)
      .Type(TColorTypeInfo());
  p.Prop("UseCustomGlyphs", &TKxCheckList::GetUseCustomGlyphs, &TKxCheckList::SetUseCustomGlyphs).Default(false);
  p.Prop("TransparentColor", &TKxCheckList::GetTransparentColor, &TKxCheckList::SetTransparentColor)
      .Default(clOlive)
      .Type(TColorTypeInfo());
  p.Prop("ToggleOnItemClick", &TKxCheckList::GetToggleOnItemClick, &TKxCheckList::SetToggleOnItemClick)
      .Default(false);
  p.Prop("OnChange", &TKxCheckList::GetOnChange, &TKxCheckList::SetOnChange);
  p.Prop("OnChanging", &TKxCheckList::GetOnChanging, &TKxCheckList::SetOnChanging);
}

TKxCheckList::TKxCheckList(TComponent* owner) : TKxCustomTabbedListBox(owner) {
  items_ = New<TKxCheckListStrings>();
  items_->SetCheckList(this);
  customGlyphs_ = New<TBitmap>();
  customGlyphs_->SetOnChange(TNotifyEvent(this, &TKxCheckList::CustomGlyphsChanged));
  SetStyle(lbOwnerDrawFixed);
  UpdateItemHeight();
  SetShowGroups(true);
}

void TKxCheckList::Destroy() {
  inherited::Destroy();
  FreeAndNil(customGlyphs_);
  FreeAndNil(items_);
  FreeAndNil(savedItems_);
}

// --- item states -------------------------------------------------------------------

TCheckBoxState TKxCheckList::GetItemState(int index) {
  return static_cast<TCheckBoxState>(items_->GetPacket(index).State);
}

void TKxCheckList::SetItemState(int index, TCheckBoxState state) {
  TPacket packet = items_->GetPacket(index);
  if (packet.State == state) return;
  packet.State = static_cast<uint8_t>(state);
  items_->SetPacket(index, packet);
  if (!HandleAllocated()) return;
  // Only the box is drawn again.
  TRect r = ItemRect(index);
  int itemHeight = GetItemHeight();
  int offset = (itemHeight - glyphHeight_) / 2;
  TRect area{r.left, r.top + offset, r.left + glyphWidth_ + 4, r.top + itemHeight - offset};
  if (UseRightToLeftAlignment()) {
    area.left = r.right - glyphWidth_ - 4;
    area.right = r.right;
  }
  InvalidateRect(GetWindowHandle(), &area, FALSE);
}

bool TKxCheckList::GetItemChecked(int index) { return GetItemState(index) == cbChecked; }

void TKxCheckList::SetItemChecked(int index, bool checked) { SetItemState(index, checked ? cbChecked : cbUnchecked); }

bool TKxCheckList::GetItemEnabled(int index) { return items_->GetPacket(index).Enabled; }

void TKxCheckList::SetItemEnabled(int index, bool enabled) {
  TPacket packet = items_->GetPacket(index);
  if (packet.Enabled == enabled) return;
  packet.Enabled = enabled;
  items_->SetPacket(index, packet);
  Invalidate();
}

int TKxCheckList::AddEx(const std::string& s, bool checked, bool enabled) {
  int index = items_->Add(s);
  SetItemChecked(index, checked);
  SetItemEnabled(index, enabled);
  return index;
}

void TKxCheckList::CheckAll() {
  for (int i = 0, n = items_->GetCount(); i < n; ++i) SetItemChecked(i, true);
}

void TKxCheckList::UncheckAll() {
  for (int i = 0, n = items_->GetCount(); i < n; ++i) SetItemChecked(i, false);
}

int TKxCheckList::ItemsChecked() {
  int checked = 0;
  for (int i = 0, n = items_->GetCount(); i < n; ++i)
    if (GetItemChecked(i) && !GetItemIsGroup(i)) ++checked;
  return checked;
}

namespace {
// Every item of a group: from the one after its header to the next header.
template <class F>
void ForEachInGroup(TKxCheckList* list, int groupIndex, F f) {
  int header = list->ItemIndexOfGroup(groupIndex);
  if (header < 0) return;
  for (int i = header + 1, n = list->GetItems()->GetCount(); i < n && !list->GetItemIsGroup(i); ++i) f(i);
}
}  // namespace

void TKxCheckList::SetGroupState(int groupIndex, TCheckBoxState state) {
  ForEachInGroup(this, groupIndex, [&](int i) { SetItemState(i, state); });
}

void TKxCheckList::CheckGroup(int groupIndex) {
  ForEachInGroup(this, groupIndex, [&](int i) { SetItemChecked(i, true); });
}

void TKxCheckList::UncheckGroup(int groupIndex) {
  ForEachInGroup(this, groupIndex, [&](int i) { SetItemChecked(i, false); });
}

void TKxCheckList::EnableGroup(int groupIndex) {
  ForEachInGroup(this, groupIndex, [&](int i) { SetItemEnabled(i, true); });
}

void TKxCheckList::DisableGroup(int groupIndex) {
  ForEachInGroup(this, groupIndex, [&](int i) { SetItemEnabled(i, false); });
}

TColor TKxCheckList::CheckColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  if (rgb == ColorToRGB(transparentColor_) || rgb == 0x808080) return rgb + 1;
  return color;
}

bool TKxCheckList::CanChange(int index, TCheckBoxState newState) {
  bool allow = true;
  if (OnChanging) OnChanging(this, index, newState, allow);
  return allow;
}

void TKxCheckList::Change(int index, TCheckBoxState newState) {
  if (OnChange) OnChange(this, index, newState);
}

void TKxCheckList::ToggleCheckState() {
  int index = GetItemIndex();
  if (index < 0 || index >= items_->GetCount() || !GetItemEnabled(index) || GetItemIsGroup(index)) {
    changingState_ = false;
    return;
  }
  TCheckBoxState next;
  switch (GetItemState(index)) {
    case cbUnchecked: next = allowGrayed_ ? cbGrayed : cbChecked; break;
    case cbGrayed: next = cbChecked; break;
    default: next = cbUnchecked; break;
  }
  if (CanChange(index, next)) {
    SetItemState(index, next);
    changingState_ = false;
    Change(index, next);
  } else {
    changingState_ = false;
  }
}

// --- properties ----------------------------------------------------------------------

void TKxCheckList::SetItems(TStrings* value) { items_->Assign(value); }

void TKxCheckList::SetAllowGrayed(bool value) { allowGrayed_ = value; }

void TKxCheckList::SetHighlightColor(TColor value) {
  if (highlightColor_ == value) return;
  highlightColor_ = value;
  Invalidate();
}

void TKxCheckList::SetTransparentColor(TColor value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  Invalidate();
}

void TKxCheckList::SetCustomGlyphs(TBitmap* value) { customGlyphs_->Assign(value); }

void TKxCheckList::UpdateGlyphSize() {
  if (useCustomGlyphs_) {
    glyphWidth_ = customGlyphs_->GetWidth() / numStates_;
    glyphHeight_ = customGlyphs_->GetHeight();
  } else {
    glyphWidth_ = kGlyphSize;
    glyphHeight_ = kGlyphSize;
  }
}

void TKxCheckList::SetUseCustomGlyphs(bool value) {
  if (useCustomGlyphs_ == value) return;
  useCustomGlyphs_ = value;
  UpdateGlyphSize();
  UpdateItemHeight();
  Invalidate();
}

void TKxCheckList::CustomGlyphsChanged(TObject*) {
  if (GetComponentState().Contains(csLoading)) return;
  useCustomGlyphs_ = !customGlyphs_->GetEmpty();
  // Measured again even when the flag stays: a new strip may be another size.
  UpdateGlyphSize();
  UpdateItemHeight();
  Invalidate();
}

// --- drawing ---------------------------------------------------------------------------

void TKxCheckList::UpdateItemHeight() { SetItemHeight(std::max(glyphHeight_ + 4, GetMinFontHeight(GetFont()))); }

void TKxCheckList::SelectGlyph(int index, TBitmap* bitmap) {
  TPacket packet = items_->GetPacket(index);
  bool enabled = packet.Enabled;
  int state = packet.State;
  bitmap->SetSize(glyphWidth_, glyphHeight_);
  TRect cell{0, 0, glyphWidth_, glyphHeight_};
  if (useCustomGlyphs_) {
    int k = enabled ? state : 3 + state;
    TRect source{k * glyphWidth_, 0, (k + 1) * glyphWidth_, glyphHeight_};
    bitmap->GetCanvas()->CopyRect(cell, customGlyphs_->GetCanvas(), source);
    return;
  }
  if (ThemeServices().GetThemesEnabled()) {
    static const TThemedButton kThemed[2][3] = {
        {tbCheckBoxUncheckedDisabled, tbCheckBoxCheckedDisabled, tbCheckBoxMixedDisabled},
        {tbCheckBoxUncheckedNormal, tbCheckBoxCheckedNormal, tbCheckBoxMixedNormal}};
    // The box's surroundings come out as the control's colour.
    bitmap->GetCanvas()->GetBrush()->SetColor(transparentColor_);
    bitmap->GetCanvas()->FillRect(cell);
    TThemedElementDetails details = ThemeServices().GetElementDetails(kThemed[enabled ? 1 : 0][state]);
    ThemeServices().DrawElement(bitmap->GetCanvas()->GetHandle(), details, cell);
    return;
  }
  static const char* const kResource[3] = {"KXCOMMON_CHECKBOX_UNCHECKED", "KXCOMMON_CHECKBOX_CHECKED",
                                           "KXCOMMON_CHECKBOX_GRAYED"};
  const TColor oldColors[5] = {static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0x808080),
                               static_cast<TColor>(0x0000FF), static_cast<TColor>(0xFF00FF),
                               static_cast<TColor>(0xFF0000)};
  TColor face = enabled ? clWindow : GetDisabledColor();
  const TColor newColors[5] = {face, GetFrameColor(), face, face,
                               enabled ? CheckColor(highlightColor_) : clBtnShadow};
  bitmap->SetHandle(CreateMappedRes(MainInstance(), kResource[state], oldColors, newColors));
}

void TKxCheckList::DrawListItem(int index, TRect rect, TOwnerDrawState state) {
  // Nothing while an item is on its way in, nor for an item that reached the
  // window past the item list (a string sent to the window directly).
  if (changingItems_ || index >= items_->GetPacketCount()) return;
  TCanvas* canvas = GetCanvas();
  Owned<TBitmap> glyph = MakeOwned<TBitmap>();
  SelectGlyph(index, glyph.get());
  canvas->FillRect(rect);
  if (glyphWidth_ > 0 && glyphHeight_ > 0) {
    Owned<TBitmap> box = MakeOwned<TBitmap>();
    box->SetSize(glyphWidth_, glyphHeight_);
    TRect cell{0, 0, glyphWidth_, glyphHeight_};
    box->GetCanvas()->GetBrush()->SetColor(GetColor());
    box->GetCanvas()->FillRect(cell);
    box->GetCanvas()->BrushCopy(cell, glyph.get(), cell, transparentColor_);
    int x = UseRightToLeftAlignment() ? rect.right + 4 : rect.left - glyphWidth_ - 4;
    int y = rect.top + (GetItemHeight() - glyphHeight_) / 2;
    canvas->Draw(x, y, box.get());
  }
  canvas->GetFont()->Assign(GetFont());
  if (!GetItemEnabled(index) || !GetEnabled()) {
    bool shadowLike = ColorToRGB(GetColor()) == ColorToRGB(clBtnShadow);
    canvas->GetFont()->SetColor(shadowLike ? clBtnFace : clBtnShadow);
  }
  // The canvas forgets its selections after the DC's state comes back.
  TFinally refresh([canvas] { canvas->Refresh(); });
  HDC dc = canvas->GetHandle();
  TSavedDC saved(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (state.Contains(odSelected)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->GetFont()->SetColor(clHighlightText);
  }
  if (OnDrawItem) OnDrawItem(this, index, rect, state);
  else DefaultDrawItem(index, rect, state);
}

void TKxCheckList::DefaultDrawItem(int index, TRect rect, TOwnerDrawState) {
  TCanvas* canvas = GetCanvas();
  std::string text = items_->Get(index);
  HDC dc = canvas->GetHandle();
  int y = rect.top + TextOffset(canvas);
  if (UseRightToLeftAlignment()) {
    UINT old = SetTextAlign(dc, TA_RIGHT);
    TextOutA(dc, rect.right - 2, y, text.c_str(), static_cast<int>(text.size()));
    SetTextAlign(dc, old);
  } else {
    TabbedText(dc, rect.left + 2, y, text);
  }
}

// --- mouse and keyboard --------------------------------------------------------------------

TRect TKxCheckList::CheckArea(int index) {
  TRect r = ItemRect(index);
  if (UseRightToLeftAlignment()) r.left = r.right - glyphWidth_ - 4;
  else r.right = r.left + glyphWidth_ + 4;
  return r;
}

void TKxCheckList::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TPoint p{x, y};
  if (button == mbRight) {
    int index = ItemAtPos(p, true);
    if (index >= 0 && index != GetItemIndex()) {
      SetItemIndex(index);
      Click();
    }
  } else if (button == mbLeft) {
    int index = ItemAtPos(p, true);
    if (index >= 0) {
      TRect area = CheckArea(index);
      if (toggleOnItemClick_ || PtInRect(&area, p)) {
        changingState_ = true;
        selectedItem_ = GetItemIndex();
      }
    }
  }
  inherited::MouseDown(button, shift, x, y);
}

void TKxCheckList::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && changingState_) {
    TRect client = GetClientRect();
    TPoint p{x, y};
    if (GetItemIndex() == selectedItem_ && PtInRect(&client, p)) ToggleCheckState();
    else changingState_ = false;
  }
  inherited::MouseUp(button, shift, x, y);
}

void TKxCheckList::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_SPACE) changingState_ = true;
  selectedItem_ = GetItemIndex();
  inherited::KeyDown(key, shift);
}

void TKxCheckList::KeyUp(WORD& key, TShiftState shift) {
  if (key == VK_SPACE && changingState_) ToggleCheckState();
  inherited::KeyUp(key, shift);
}

void TKxCheckList::WMChar(TMessage& m) {
  // The blank toggles (on key-up); it is no search text.
  if (TWMKey(m).CharCode() == ' ') return;
  inherited::WMChar(m);
}

void TKxCheckList::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  UpdateItemHeight();
}

void TKxCheckList::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  // Stored files and callers rely on this: enabling the control enables
  // every item again.
  bool enabled = GetEnabled();
  for (int i = 0, n = items_->GetCount(); i < n; ++i) {
    TPacket packet = items_->GetPacket(i);
    packet.Enabled = enabled;
    items_->SetPacket(i, packet);
  }
  Invalidate();
}

// --- window -----------------------------------------------------------------------------

void TKxCheckList::DestroyWnd() {
  TComponentState cs = GetComponentState();
  if (!cs.Contains(csLoading) && !cs.Contains(csDestroying) && HandleAllocated() && items_->GetCount() > 0) {
    Owned<TPacketStringList> copy = MakeOwned<TPacketStringList>();
    copy->Assign(items_);
    savedTopIndex_ = GetTopIndex();
    savedItemIndex_ = GetItemIndex();
    FreeAndNil(savedItems_);
    savedItems_ = copy.release();
    // The copy here carries the states; the list box's own copy of the texts
    // is not needed.
    items_->Clear();
  }
  inherited::DestroyWnd();
}

void TKxCheckList::CreateWnd() {
  inherited::CreateWnd();
  if (savedItems_) {
    // Taken before the assignment can fail, so it is never restored twice.
    Owned<TPacketStringList> saved(savedItems_);
    savedItems_ = nullptr;
    items_->Assign(saved.get());
    SetTopIndex(savedTopIndex_);
    SetItemIndex(savedItemIndex_);
  }
}

void TKxCheckList::Loaded() {
  inherited::Loaded();
  if (IsDesigning() && items_->GetCount() > 0) Invalidate();
}

void InitializeKxChkLst() { RegisterClass(TKxCheckList::StaticClass()); }

void FinalizeKxChkLst() { UnRegisterClass(TKxCheckList::StaticClass()); }
