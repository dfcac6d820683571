// Owner drawing and measuring of wide menu items: the class library draws
// the background and the glyph, the wide item its wide texts in the places
// the class library gives its ANSI texts.
#include "classlib/ImgList.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxMenusPrivate.h"
#include "unicode/VoxSysUtils.h"

namespace {

bool Win98Plus() { return Win32MajorVersion > 4 || (Win32MajorVersion == 4 && Win32MinorVersion > 0); }
bool Nt5Plus() { return Win32Platform == VER_PLATFORM_WIN32_NT && Win32MajorVersion >= 5; }

}  // namespace

UINT TVoxMenuItem::GetAlignmentDrawStyle() const {
  static const UINT aligns[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  if (auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu())) return aligns[popup->GetAlignment()];
  return DT_LEFT;
}

void TVoxMenuItem::DoDrawText(TCanvas* canvas, const std::wstring& caption, TRect& rect, bool selected,
                              UINT flags) {
  if (!Win32PlatformIsUnicode || IsLine()) {
    inherited::DoDrawText(canvas, WideToAnsi(caption), rect, selected, flags);
    return;
  }
  TMenu* menu = GetParentMenu();
  if (menu && menu->IsRightToLeft()) flags |= DT_RIGHT | DT_RTLREADING;
  std::wstring text = caption;
  // An empty text (or a lone accelerator mark) still takes a line's height.
  if ((flags & DT_CALCRECT) && (text.empty() || text == L"&")) text += L' ';
  DrawTextInState(canvas, rect, selected, [&](TRect& r) {
    DrawTextW(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
  });
}

int TVoxMenuItem::MeasureItemTextWidth(TCanvas* canvas, const std::wstring& text) {
  TRect r{};
  DoDrawText(canvas, text, r, false,
             GetAlignmentDrawStyle() | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP | DT_CALCRECT);
  return r.right - r.left;
}

void TVoxMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (!Win32PlatformIsUnicode || IsLine()) {
    inherited::MeasureItem(canvas, width, height);
    return;
  }
  {
    // The ANSI measuring without the event: it is told the wide size.
    TRestore<TMenuMeasureItemEvent> detached(OnMeasureItem, TMenuMeasureItemEvent());
    inherited::MeasureItem(canvas, width, height);
  }
  width += MeasureItemTextWidth(canvas, GetCaption()) -
           MeasureItemTextWidth(canvas, AnsiToWide(TMenuItem::GetCaption()));
  if (TShortCut shortCut = GetShortCut())
    width += MeasureItemTextWidth(canvas, WideShortCutToText(shortCut)) -
             MeasureItemTextWidth(canvas, AnsiToWide(ShortCutToText(shortCut)));
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TVoxMenuItem::AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) {
  TMenu* menu = GetParentMenu();
  TCustomImageList* images = GetImageList();
  bool drawsItself = menu && (menu->GetOwnerDraw() || images) && (OnDrawItem || OnAdvancedDrawItem);
  if (!Win32PlatformIsUnicode || IsLine() || drawsItself) {
    inherited::AdvancedDrawItem(canvas, rect, state, topLevel);
    return;
  }
  // The class library draws the background, the check mark and the image,
  // with no text: the caption and shortcut are blanked meanwhile, and the
  // blanking tells nobody.
  {
    TRestore<bool> quiet(ignoreMenuChanged_, true);
    std::string caption = TMenuItem::GetCaption();
    TShortCut shortCut = GetShortCut();
    TMenuItem::SetCaption(std::string());
    TMenuItem::SetShortCut(0);
    // Back before the quiet flag ends, so the putting back tells nobody either.
    TFinally putBack([&] {
      TMenuItem::SetCaption(caption);
      TMenuItem::SetShortCut(shortCut);
    });
    inherited::AdvancedDrawItem(canvas, rect, state, topLevel);
  }

  // The glyph column, laid out as the class library lays it out.
  bool rtl = menu && menu->IsRightToLeft();
  bool selected = state.Contains(odSelected);
  bool hasBitmap = MenuItemHasBitmap(this) && !GetBitmap()->GetEmpty();
  bool hasImage = images && ((GetImageIndex() > -1 && GetImageIndex() < images->GetCount()) ||
                             (GetChecked() && !hasBitmap));
  bool glyphShown = hasImage || hasBitmap;
  TRect r = rect;
  TRect glyph{r.left + 1, r.top, r.left + 1, r.bottom};
  if (glyphShown) {
    glyph.right = glyph.left + (hasImage ? images->GetWidth() : 16);
    // A checked glyph's sunken frame takes one more column on its left.
    if (GetChecked()) ++glyph.left;
  } else if (images && !topLevel) {
    glyph.right = glyph.left + images->GetWidth();
  }
  if (rtl) glyph = TRect{r.left + r.right - glyph.right, glyph.top, r.left + r.right - glyph.left, glyph.bottom};
  glyph.left -= 1;
  glyph.right += 2;

  if (rtl) r.right = glyph.left - 1;
  else r.left = glyph.right + 1;
  if (topLevel && Win98Plus() && !selected) OffsetRect(&r, 0, -1);
  r.left += 2;
  r.right -= 1;

  UINT flags = GetAlignmentDrawStyle() | DT_EXPANDTABS | DT_SINGLELINE;
  if (Nt5Plus() && state.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
  if (state.Contains(odDefault)) canvas->GetFont()->SetStyle(canvas->GetFont()->GetStyle() + TFontStyles{fsBold});
  std::wstring caption = GetCaption();
  TRect kept = r;
  DoDrawText(canvas, caption, r, selected, flags | DT_CALCRECT | DT_NOCLIP);
  if (rtl) {
    r.left = kept.left;
    r.right = kept.right;
  }
  OffsetRect(&r, 0, ((kept.bottom - kept.top) - (r.bottom - r.top)) / 2);
  if (topLevel && selected && Win98Plus()) OffsetRect(&r, 1, 0);
  DoDrawText(canvas, caption, r, selected, flags);

  if (GetShortCut() != 0 && !topLevel) {
    std::wstring shortCutText = WideShortCutToText(GetShortCut());
    if (rtl) {
      r.left = kept.left + 10;
      r.right = r.left + MeasureItemTextWidth(canvas, shortCutText);
    } else {
      r.left = r.right;
      r.right = kept.right - 10;
    }
    DoDrawText(canvas, shortCutText, r, selected, DT_RIGHT);
  }
}
