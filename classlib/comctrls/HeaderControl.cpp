#include "classlib/comctrls/HeaderControl.h"

#include <algorithm>

#include "classlib/controls/CustomControl.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(THeaderSectionStyle, "hsText", "hsOwnerDraw")
DEFINE_ENUM_TYPE(THeaderStyle, "hsButtons", "hsFlat")
DEFINE_ENUM_TYPE(TSectionTrackState, "tsTrackBegin", "tsTrackMove", "tsTrackEnd")

// ---------------------------------------------------------------------------
// THeaderSection

PUBLISHED(THeaderSection) {
  p.Prop("Alignment", &THeaderSection::GetAlignment, &THeaderSection::SetAlignment).Default(taLeftJustify);
  p.Prop("AllowClick", &THeaderSection::GetAllowClick, &THeaderSection::SetAllowClick).Default(true);
  p.Prop("MaxWidth", &THeaderSection::GetMaxWidth, &THeaderSection::SetMaxWidth).Default(10000);
  p.Prop("MinWidth", &THeaderSection::GetMinWidth, &THeaderSection::SetMinWidth).Default(0);
  p.Prop("Style", &THeaderSection::GetStyle, &THeaderSection::SetStyle).Default(hsText);
  p.Prop("Text", &THeaderSection::GetText, &THeaderSection::SetText);
  p.Prop("Width", &THeaderSection::GetWidth, &THeaderSection::SetWidth);
}

THeaderSection::THeaderSection(TCollection* collection) : TCollectionItem(collection) {}

THeaderControl* THeaderSection::HeaderControl() const {
  auto* sections = dynamic_cast<THeaderSections*>(GetCollection());
  return sections ? sections->HeaderControl() : nullptr;
}

void THeaderSection::SetText(const std::string& v) {
  if (text_ == v) return;
  text_ = v;
  Changed(false);
}

void THeaderSection::SetWidth(int v) {
  v = std::clamp(v, minWidth_, std::max(minWidth_, maxWidth_));
  if (width_ == v) return;
  width_ = v;
  // The sections to the right move: the whole header changes.
  Changed(true);
}

void THeaderSection::SetMinWidth(int v) {
  v = std::max(0, v);
  if (minWidth_ == v) return;
  minWidth_ = v;
  if (maxWidth_ < v) maxWidth_ = v;
  SetWidth(width_);
}

void THeaderSection::SetMaxWidth(int v) {
  v = std::max(v, minWidth_);
  if (maxWidth_ == v) return;
  maxWidth_ = v;
  SetWidth(width_);
}

void THeaderSection::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Changed(false);
}

void THeaderSection::SetAllowClick(bool v) {
  if (allowClick_ == v) return;
  allowClick_ = v;
  Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle v) {
  if (style_ == v) return;
  style_ = v;
  Changed(false);
}

int THeaderSection::GetLeft() const {
  int left = 0;
  TCollection* c = GetCollection();
  for (int i = 0, n = GetIndex(); c && i < n; ++i) left += static_cast<THeaderSection*>(c->GetItem(i))->width_;
  return left;
}

std::string THeaderSection::GetDisplayName() const {
  return text_.empty() ? inherited::GetDisplayName() : text_;
}

void THeaderSection::AssignTo(TPersistent* dest) {
  auto* d = dynamic_cast<THeaderSection*>(dest);
  if (!d) {
    inherited::AssignTo(dest);
    return;
  }
  d->text_ = text_;
  d->minWidth_ = minWidth_;
  d->maxWidth_ = maxWidth_;
  d->width_ = width_;
  d->alignment_ = alignment_;
  d->allowClick_ = allowClick_;
  d->style_ = style_;
  d->Changed(true);
}

// ---------------------------------------------------------------------------
// THeaderSections

IMPLEMENT_CLASS(THeaderSections)

THeaderSections::THeaderSections(THeaderControl* header)
    : TCollection(THeaderSection::StaticClass()), header_(header) {}

TPersistent* THeaderSections::GetOwner() { return header_; }

void THeaderSections::Update(TCollectionItem* item) {
  if (!header_) return;
  if (item) header_->UpdateSection(item->GetIndex());
  else header_->UpdateSections();
}

// ---------------------------------------------------------------------------
// THeaderControl

PUBLISHED(THeaderControl) {
  PublishControlProps(p, {"Align", "Anchors", "BiDiMode", "Constraints", "DragCursor", "DragKind", "DragMode",
                          "Enabled", "Font"});
  p.Prop("FullDrag", &THeaderControl::GetFullDrag, &THeaderControl::SetFullDrag).Default(true);
  p.Prop("HotTrack", &THeaderControl::GetHotTrack, &THeaderControl::SetHotTrack).Default(false);
  p.Prop("Sections", &THeaderControl::GetSections, &THeaderControl::SetSections);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Style", &THeaderControl::GetStyle, &THeaderControl::SetStyle).Default(hsButtons);
  PublishControlProps(p, {"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "Visible",
                          "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnResize"});
  p.Prop("OnDrawSection", &THeaderControl::GetOnDrawSection, &THeaderControl::SetOnDrawSection);
  p.Prop("OnSectionClick", &THeaderControl::GetOnSectionClick, &THeaderControl::SetOnSectionClick);
  p.Prop("OnSectionResize", &THeaderControl::GetOnSectionResize, &THeaderControl::SetOnSectionResize);
  p.Prop("OnSectionTrack", &THeaderControl::GetOnSectionTrack, &THeaderControl::SetOnSectionTrack);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
}

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(TControlStyle{});
  SetBounds(GetLeft(), GetTop(), GetWidth(), 17);
  SetAlign(alTop);
  sections_ = New<THeaderSections>(this);
  canvas_ = New<TCanvas>();
}

void THeaderControl::Destroy() {
  FreeAndNil(canvas_);
  // The collection goes before the window, so its clearing finds no header.
  THeaderSections* s = sections_;
  sections_ = nullptr;
  FreeObject(s);
  inherited::Destroy();
}

void THeaderControl::SetHotTrack(bool v) {
  if (hotTrack_ == v) return;
  hotTrack_ = v;
  RecreateWnd();
}

void THeaderControl::SetStyle(THeaderStyle v) {
  if (style_ == v) return;
  style_ = v;
  RecreateWnd();
}

void THeaderControl::SetFullDrag(bool v) {
  if (fullDrag_ == v) return;
  fullDrag_ = v;
  RecreateWnd();
}

void THeaderControl::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, WC_HEADERA);
  params.Style |= HDS_HORZ | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (style_ == hsButtons) params.Style |= HDS_BUTTONS;
  if (hotTrack_) params.Style |= HDS_HOTTRACK;
  if (fullDrag_) params.Style |= HDS_FULLDRAG;
  // The class library paints the background itself through the header.
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void THeaderControl::CreateWnd() {
  inherited::CreateWnd();
  UpdateSections();
}

void THeaderControl::UpdateSection(int index) {
  if (!HandleAllocated() || !sections_ || index < 0 || index >= sections_->GetCount()) return;
  THeaderSection* s = sections_->GetItem(index);
  HDITEMA item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.cxy = s->GetWidth();
  item.pszText = const_cast<char*>(s->GetText().c_str());
  item.cchTextMax = static_cast<int>(s->GetText().size());
  static const int alignments[] = {HDF_LEFT, HDF_RIGHT, HDF_CENTER};
  TAlignment a = s->GetAlignment();
  if (UseRightToLeftAlignment() && a != taCenter) a = a == taLeftJustify ? taRightJustify : taLeftJustify;
  item.fmt = alignments[a] | (s->GetStyle() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING);
  if (UseRightToLeftReading()) item.fmt |= HDF_RTLREADING;
  SendMessageA(GetWindowHandle(), HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void THeaderControl::UpdateSections() {
  if (!HandleAllocated() || !sections_) return;
  HWND h = GetWindowHandle();
  // Items are made or dropped to match the count, then each is written.
  int have = static_cast<int>(SendMessageA(h, HDM_GETITEMCOUNT, 0, 0));
  for (; have > sections_->GetCount(); --have) SendMessageA(h, HDM_DELETEITEM, static_cast<WPARAM>(have - 1), 0);
  for (; have < sections_->GetCount(); ++have) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    SendMessageA(h, HDM_INSERTITEMA, static_cast<WPARAM>(have), reinterpret_cast<LPARAM>(&item));
  }
  for (int i = 0; i < sections_->GetCount(); ++i) UpdateSection(i);
  Invalidate();
}

void THeaderControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); return;
    case CN_DRAWITEM: CNDrawItem(m); return;
    default: inherited::Dispatch(m);
  }
}

void THeaderControl::CNNotify(TMessage& m) {
  auto* nm = reinterpret_cast<NMHEADERA*>(m.LParam);
  if (!nm || !sections_ || nm->iItem < 0 || nm->iItem >= sections_->GetCount()) {
    m.Result = 0;
    return;
  }
  THeaderSection* s = sections_->GetItem(nm->iItem);
  // The control sends the ANSI codes to an ANSI parent and the wide ones to
  // a wide parent (the Unicode layer's); HDITEM's width sits at the same
  // place in both.
  switch (nm->hdr.code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW:
      if (s->GetAllowClick()) SectionClick(s);
      break;
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
      SectionTrack(s, s->GetWidth(), tsTrackBegin);
      break;
    case HDN_TRACKA:
    case HDN_TRACKW:
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH)) {
        // Kept within the section's limits while the user drags.
        int w = std::clamp(nm->pitem->cxy, s->GetMinWidth(), s->GetMaxWidth());
        nm->pitem->cxy = w;
        if (nm->hdr.code == HDN_TRACKA || nm->hdr.code == HDN_TRACKW) SectionTrack(s, w, tsTrackMove);
      }
      m.Result = 0;
      return;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH))
        SectionTrack(s, std::clamp(nm->pitem->cxy, s->GetMinWidth(), s->GetMaxWidth()), tsTrackEnd);
      break;
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW:
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->pitem->cxy != s->GetWidth()) {
        // The user's width: stored without writing it back to the control.
        s->width_ = std::clamp(nm->pitem->cxy, s->GetMinWidth(), s->GetMaxWidth());
        SectionResize(s);
      }
      break;
    default: break;
  }
  m.Result = 0;
}

void THeaderControl::CNDrawItem(TMessage& m) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!d || !sections_ || static_cast<int>(d->itemID) >= sections_->GetCount()) return;
  TCanvasPaintScope scope(canvas_, d->hDC);
  canvas_->GetFont()->Assign(GetFont());
  canvas_->GetBrush()->SetColor(clBtnFace);
  canvas_->GetBrush()->SetStyle(bsSolid);
  DrawSection(sections_->GetItem(static_cast<int>(d->itemID)), d->rcItem, (d->itemState & ODS_SELECTED) != 0);
  m.Result = 1;
}

void THeaderControl::SectionClick(THeaderSection* section) {
  if (OnSectionClick) OnSectionClick(this, section);
}

void THeaderControl::SectionResize(THeaderSection* section) {
  if (OnSectionResize) OnSectionResize(this, section);
}

void THeaderControl::SectionTrack(THeaderSection* section, int width, TSectionTrackState state) {
  if (OnSectionTrack) OnSectionTrack(this, section, width, state);
}

void THeaderControl::DrawSection(THeaderSection* section, const RECT& rect, bool pressed) {
  if (OnDrawSection) OnDrawSection(this, section, rect, pressed);
  else canvas_->FillRect(rect);
}
