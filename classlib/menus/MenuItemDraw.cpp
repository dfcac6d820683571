// Owner drawing of menu items (menus with OwnerDraw or Images, items with a
// Bitmap): the classic look of the platform, with the glyph column at the
// left (at the right in right-to-left menus), a sunken frame around checked
// glyphs and the shortcut right-aligned.
#include <algorithm>
#include <functional>

#include "classlib/ImgList.h"
#include "classlib/SysUtils.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/ShortCuts.h"

namespace {

// The system's check-mark bitmap (OBM_CHECK; windows.h names it only under
// OEMRESOURCE).
constexpr int kObmCheck = 32760;

bool Win98Plus() { return Win32MajorVersion > 4 || (Win32MajorVersion == 4 && Win32MinorVersion > 0); }
bool Win2K() { return Win32MajorVersion > 4 && Win32Platform == VER_PLATFORM_WIN32_NT; }

UINT AlignmentStyle(TMenu* menu) {
  static const UINT aligns[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  if (auto* popup = dynamic_cast<TPopupMenu*>(menu)) return aligns[popup->GetAlignment()];
  return DT_LEFT;
}

}  // namespace

void TMenuItem::DrawItem(TCanvas* canvas, TRect rect, bool selected) {
  if (OnDrawItem) OnDrawItem(this, canvas, rect, selected);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) {
  TMenu* menu = GetParentMenu();
  TCustomImageList* images = GetImageList();
  bool selected = state.Contains(odSelected);
  if (menu && (menu->GetOwnerDraw() || images) && (OnAdvancedDrawItem || OnDrawItem)) {
    DrawItem(canvas, rect, selected);
    if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, canvas, rect, state);
    return;
  }
  bool rtl = menu && menu->IsRightToLeft();
  // The layout is made left to right; a right-to-left menu draws each
  // rectangle mirrored inside the item.
  auto mirror = [&](TRect r) {
    if (!rtl) return r;
    return TRect{rect.left + rect.right - r.right, r.top, rect.left + rect.right - r.left, r.bottom};
  };
  TBrush* brush = canvas->GetBrush();
  TRect r = rect;
  if (!selected) canvas->FillRect(r);

  TRect glyph{r.left + 1, r.top + 1, r.left + 1, r.top + 1};
  bool drawGlyph = false;
  if (IsLine()) {
    canvas->FillRect(r);
    // No glyph column: the line runs from the item's left edge.
    glyph.left = rect.left;
    glyph.right = rect.left - 4;
  } else {
    bool hasBitmap = bitmap_ && !bitmap_->GetEmpty();
    bool imageInList = images && imageIndex_ > -1 && imageIndex_ < images->GetCount();
    bool drawImage = images && (imageInList || (checked_ && !hasBitmap));
    if (drawImage || hasBitmap) {
      drawGlyph = true;
      if (drawImage) {
        glyph.right = glyph.left + images->GetWidth();
        glyph.bottom = glyph.top + images->GetHeight();
      } else {
        glyph.right = glyph.left + 16;
        glyph.bottom = glyph.top + 16;
      }
      if (checked_) {
        ++glyph.right;
        ++glyph.bottom;
        TColor oldColor = brush->GetColor();
        if (!selected) {
          brush->SetBitmap(AllocPatternBitmap(clBtnFace, clBtnHighlight));
          canvas->FillRect(mirror(glyph));
          brush->SetBitmap(nullptr);
        } else {
          brush->SetColor(clBtnFace);
          canvas->FillRect(mirror(glyph));
        }
        brush->SetColor(oldColor);
        ++glyph.left;
        ++glyph.top;
      }
      TRect g = mirror(glyph);
      if (drawImage) {
        if (imageInList) {
          images->Draw(canvas, g.left, g.top, imageIndex_, enabled_);
        } else {
          // A checked item without an image of its own shows the check mark.
          Owned<TBitmap> check = MakeOwned<TBitmap>();
          check->SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(kObmCheck)));
          check->SetTransparent(true);
          TColor oldFont = canvas->GetFont()->GetColor();
          canvas->GetFont()->SetColor(clBtnText);
          canvas->Draw(g.left + (g.right - g.left - check->GetWidth()) / 2 + 1,
                       g.top + (g.bottom - g.top - check->GetHeight()) / 2 + 1, check.get());
          canvas->GetFont()->SetColor(oldFont);
        }
      } else {
        // The bitmap is centred when it is smaller than the glyph box.
        if (bitmap_->GetWidth() < g.right - g.left) {
          g.left += ((g.right - g.left) - bitmap_->GetWidth()) / 2 + 1;
          g.right = g.left + bitmap_->GetWidth();
        }
        if (bitmap_->GetHeight() < g.bottom - g.top) {
          g.top += ((g.bottom - g.top) - bitmap_->GetHeight()) / 2 + 1;
          g.bottom = g.top + bitmap_->GetHeight();
        }
        canvas->StretchDraw(g, bitmap_);
      }
      if (checked_) {
        --glyph.right;
        --glyph.bottom;
      }
    } else if (images && !topLevel) {
      glyph.right = glyph.left + images->GetWidth();
      glyph.bottom = glyph.top + images->GetHeight();
    }
  }
  glyph.left -= 1;
  glyph.top -= 1;
  glyph.right += 2;
  glyph.bottom += 2;

  if (checked_ || (selected && drawGlyph)) {
    TRect edge = mirror(glyph);
    DrawEdge(canvas->GetHandle(), &edge, checked_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (selected) {
    if (drawGlyph) r.left = glyph.right + 1;
    if (!(Win98Plus() && topLevel)) brush->SetColor(clHighlight);
    canvas->FillRect(mirror(r));
  }
  if (topLevel && Win98Plus()) {
    TRect edge = mirror(r);
    if (selected) DrawEdge(canvas->GetHandle(), &edge, BDR_SUNKENOUTER, BF_RECT);
    else if (state.Contains(odHotLight)) DrawEdge(canvas->GetHandle(), &edge, BDR_RAISEDINNER, BF_RECT);
    if (!selected) OffsetRect(&r, 0, -1);
  }
  if (!(selected && drawGlyph)) r.left = glyph.right + 1;
  r.left += 2;
  r.right -= 1;

  UINT style = DT_EXPANDTABS | DT_SINGLELINE | AlignmentStyle(menu);
  if (Win2K() && state.Contains(odNoAccel)) style |= DT_HIDEPREFIX;
  if (state.Contains(odDefault)) canvas->GetFont()->SetStyle({fsBold});
  TRect text = mirror(r);
  TRect kept = text;
  DoDrawText(canvas, caption_, text, selected, style | DT_CALCRECT | DT_NOCLIP);
  if (rtl) {
    text.left = kept.left;
    text.right = kept.right;
  }
  OffsetRect(&text, 0, ((kept.bottom - kept.top) - (text.bottom - text.top)) / 2);
  if (topLevel && selected && Win98Plus()) OffsetRect(&text, 1, 0);
  DoDrawText(canvas, caption_, text, selected, style);
  if (shortCut_ != 0 && !topLevel) {
    std::string shortCutText = ShortCutToText(shortCut_);
    if (rtl) {
      text.left = kept.left + 10;
      text.right = text.left + canvas->TextWidth(shortCutText);
    } else {
      text.left = text.right;
      text.right = kept.right - 10;
    }
    DoDrawText(canvas, shortCutText, text, selected, DT_RIGHT);
  }
}

void TMenuItem::DoDrawText(TCanvas* canvas, const std::string& caption, TRect& rect, bool selected, UINT flags) {
  TMenu* menu = GetParentMenu();
  if (menu && menu->IsRightToLeft()) {
    // DT_LEFT is 0: every text of a right-to-left menu is right-aligned.
    flags = (flags & ~static_cast<UINT>(DT_CENTER)) | DT_RIGHT | DT_RTLREADING;
  }
  std::string text = caption;
  // An empty text (or a lone accelerator mark) still takes a line's height.
  if ((flags & DT_CALCRECT) && (text.empty() || text == "&")) text += ' ';
  if (text == cLineCaption) {
    if (!(flags & DT_CALCRECT)) {
      TRect line = rect;
      line.top += 4;
      DrawEdge(canvas->GetHandle(), &line, EDGE_ETCHED, BF_TOP);
    }
    return;
  }
  DrawTextInState(canvas, rect, selected, [&](TRect& r) {
    DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
  });
}

void TMenuItem::DrawTextInState(TCanvas* canvas, TRect& rect, bool selected,
                                const std::function<void(TRect&)>& drawText) {
  canvas->GetBrush()->SetStyle(bsClear);
  if (default_) canvas->GetFont()->SetStyle(canvas->GetFont()->GetStyle() + TFontStyles{fsBold});
  if (!enabled_) {
    if (!selected) {
      OffsetRect(&rect, 1, 1);
      canvas->GetFont()->SetColor(clBtnHighlight);
      drawText(rect);
      OffsetRect(&rect, -1, -1);
    }
    // Shadow on a highlight of the same colour would not show.
    if (selected && ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow)) canvas->GetFont()->SetColor(clBtnHighlight);
    else canvas->GetFont()->SetColor(clBtnShadow);
  }
  drawText(rect);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  bool topLevel = dynamic_cast<TMainMenu*>(GetParentComponent()) != nullptr;
  if (topLevel) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      width = metrics.iMenuWidth;
      height = metrics.iMenuHeight;
    }
  } else if (height <= 0) {
    // Windows hands in the height of a text item; a system that hands in 0
    // gets the font's.
    height = canvas->TextHeight("W");
  }
  TMenu* menu = GetParentMenu();
  TCustomImageList* images = GetImageList();
  bool drawGlyph = false;
  if (IsLine()) {
    height = 5;
    width = -2;
  } else if (images && (imageIndex_ > -1 || !topLevel)) {
    width = images->GetWidth();
    if (!topLevel) height = std::max(height, images->GetHeight());
    drawGlyph = true;
  } else if (bitmap_ && !bitmap_->GetEmpty()) {
    width = 16;
    if (!topLevel) height = std::max(height, 16);
    drawGlyph = true;
  } else {
    width = -7;
  }
  if (drawGlyph && !topLevel) width += 15;
  if (!topLevel) height += 3;
  std::string text = caption_;
  if (shortCut_ != 0) text += ShortCutToText(shortCut_);
  TRect r{};
  DoDrawText(canvas, text, r, false, AlignmentStyle(menu) | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP | DT_CALCRECT);
  width += r.right - r.left + 7;
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void DrawMenuItem(TMenuItem* item, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
  bool topLevel = dynamic_cast<TMainMenu*>(item->GetParentComponent()) != nullptr;
  bool win98Plus = Win32MajorVersion > 4 || (Win32MajorVersion == 4 && Win32MinorVersion > 0);
  if (state.Contains(odSelected) && !(win98Plus && topLevel)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->GetFont()->SetColor(clHighlightText);
  } else if (win98Plus && state.Contains(odInactive)) {
    canvas->GetBrush()->SetColor(clMenu);
    canvas->GetFont()->SetColor(clGrayText);
  } else {
    canvas->GetBrush()->SetColor(clMenu);
    canvas->GetFont()->SetColor(clMenuText);
  }
  item->AdvancedDrawItem(canvas, rect, state, topLevel);
}
