// KxUxTheme: the visual-styles library "uxtheme.dll", loaded at run time and
// bound by name, so that a program runs unchanged where it is missing
// (Windows 95 to 2000): every entry point then stays null and UseThemes is
// false.
//
// The loaded library is reference-counted under a lock (the unit's start-up
// makes it, its finalisation gives back every reference and frees it). The
// entry points live in this namespace rather than the global one so that a
// file which also includes the system's <uxtheme.h> keeps compiling; they
// are the theme API table tests swap an entry of (KxUxTheme::IsThemeActive)
// to turn themes off without touching the desktop's settings.
#pragma once

#include "classlib/Win.h"

#include <commctrl.h>

namespace KxUxTheme {

using HTHEME = HANDLE;

enum THEMESIZE { TS_MIN, TS_TRUE, TS_DRAW };
enum PROPERTYORIGIN { PO_STATE, PO_PART, PO_CLASS, PO_GLOBAL, PO_NOTFOUND };

struct MARGINS {
  int cxLeftWidth;
  int cxRightWidth;
  int cyTopHeight;
  int cyBottomHeight;
};
// The size of later systems' list (402 values): GetThemeIntList writes up to
// that many, so a shorter record would be overrun.
inline constexpr int MAX_INTLIST_COUNT = 402;
struct INTLIST {
  int iValueCount;
  int iValues[MAX_INTLIST_COUNT];
};

// Return type, name and parameters of each entry point, in binding order.
#define KX_UXTHEME_ENTRY_POINTS(X)                                                                            \
  X(HTHEME, OpenThemeData, (HWND hwnd, LPCWSTR pszClassList))                                                 \
  X(HRESULT, CloseThemeData, (HTHEME hTheme))                                                                 \
  X(HRESULT, DrawThemeBackground,                                                                            \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect, const RECT* pClipRect))            \
  X(HRESULT, DrawThemeText,                                                                                  \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount, DWORD dwTextFlags,   \
     DWORD dwTextFlags2, const RECT* pRect))                                                                  \
  X(HRESULT, GetThemeBackgroundContentRect,                                                                  \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pBoundingRect, RECT* pContentRect))       \
  X(HRESULT, GetThemeBackgroundExtent,                                                                       \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pContentRect, RECT* pExtentRect))         \
  X(HRESULT, GetThemePartSize,                                                                               \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* prc, THEMESIZE eSize, SIZE* psz))         \
  X(HRESULT, GetThemeTextExtent,                                                                             \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount, DWORD dwTextFlags,   \
     const RECT* pBoundingRect, RECT* pExtentRect))                                                           \
  X(HRESULT, GetThemeTextMetrics, (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, TEXTMETRICW* ptm))      \
  X(HRESULT, GetThemeBackgroundRegion,                                                                       \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect, HRGN* pRegion))                    \
  X(HRESULT, HitTestThemeBackground,                                                                         \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, DWORD dwOptions, const RECT* pRect, HRGN hrgn,        \
     POINT ptTest, WORD* pwHitTestCode))                                                                      \
  X(HRESULT, DrawThemeEdge,                                                                                  \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pDestRect, UINT uEdge, UINT uFlags,       \
     RECT* pContentRect))                                                                                     \
  X(HRESULT, DrawThemeIcon,                                                                                  \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect, HIMAGELIST himl, int iImageIndex)) \
  X(BOOL, IsThemePartDefined, (HTHEME hTheme, int iPartId, int iStateId))                                    \
  X(BOOL, IsThemeBackgroundPartiallyTransparent, (HTHEME hTheme, int iPartId, int iStateId))                 \
  X(HRESULT, GetThemeColor, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor))       \
  X(HRESULT, GetThemeMetric, (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, int* piVal))   \
  X(HRESULT, GetThemeString,                                                                                 \
    (HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszBuff, int cchMaxBuffChars))             \
  X(HRESULT, GetThemeBool, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, BOOL* pfVal))             \
  X(HRESULT, GetThemeInt, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal))               \
  X(HRESULT, GetThemeEnumValue, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal))         \
  X(HRESULT, GetThemePosition, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, POINT* pPoint))       \
  X(HRESULT, GetThemeFont, (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, LOGFONTW* pFont)) \
  X(HRESULT, GetThemeRect, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, RECT* pRect))             \
  X(HRESULT, GetThemeMargins,                                                                                \
    (HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, RECT* prc, MARGINS* pMargins))           \
  X(HRESULT, GetThemeIntList, (HTHEME hTheme, int iPartId, int iStateId, int iPropId, INTLIST* pIntList))    \
  X(HRESULT, GetThemePropertyOrigin,                                                                         \
    (HTHEME hTheme, int iPartId, int iStateId, int iPropId, PROPERTYORIGIN* pOrigin))                         \
  X(HRESULT, SetWindowTheme, (HWND hwnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList))                        \
  X(HRESULT, GetThemeFilename,                                                                               \
    (HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszThemeFileName, int cchMaxBuffChars))    \
  X(COLORREF, GetThemeSysColor, (HTHEME hTheme, int iColorId))                                                \
  X(HBRUSH, GetThemeSysColorBrush, (HTHEME hTheme, int iColorId))                                             \
  X(BOOL, GetThemeSysBool, (HTHEME hTheme, int iBoolId))                                                      \
  X(int, GetThemeSysSize, (HTHEME hTheme, int iSizeId))                                                       \
  X(HRESULT, GetThemeSysFont, (HTHEME hTheme, int iFontId, LOGFONTW* plf))                                    \
  X(HRESULT, GetThemeSysString, (HTHEME hTheme, int iStringId, LPWSTR pszStringBuff, int cchMaxStringChars)) \
  X(HRESULT, GetThemeSysInt, (HTHEME hTheme, int iIntId, int* piValue))                                       \
  X(BOOL, IsThemeActive, ())                                                                                  \
  X(BOOL, IsAppThemed, ())                                                                                    \
  X(HTHEME, GetWindowTheme, (HWND hwnd))                                                                      \
  X(HRESULT, EnableThemeDialogTexture, (HWND hwnd, DWORD dwFlags))                                            \
  X(BOOL, IsThemeDialogTextureEnabled, (HWND hwnd))                                                           \
  X(DWORD, GetThemeAppProperties, ())                                                                         \
  X(void, SetThemeAppProperties, (DWORD dwFlags))                                                             \
  X(HRESULT, GetCurrentThemeName,                                                                            \
    (LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff, int cchMaxColorChars,                 \
     LPWSTR pszSizeBuff, int cchMaxSizeChars))                                                                \
  X(HRESULT, GetThemeDocumentationProperty,                                                                  \
    (LPCWSTR pszThemeName, LPCWSTR pszPropertyName, LPWSTR pszValueBuff, int cchMaxValChars))                 \
  X(HRESULT, DrawThemeParentBackground, (HWND hwnd, HDC hdc, const RECT* prc))                                \
  X(HRESULT, EnableTheming, (BOOL fEnable))

#define KX_UXTHEME_DECLARE(Ret, Name, Params) \
  using Name##Proc = Ret(WINAPI*) Params;     \
  extern Name##Proc Name;
KX_UXTHEME_ENTRY_POINTS(KX_UXTHEME_DECLARE)
#undef KX_UXTHEME_DECLARE

// GetThemeAppProperties flags.
inline constexpr DWORD STAP_ALLOW_NONCLIENT = 1;
inline constexpr DWORD STAP_ALLOW_CONTROLS = 2;
inline constexpr DWORD STAP_ALLOW_WEBCONTENT = 4;

// The entry points in binding order, by name: whether each is bound.
int EntryPointCount();
const char* EntryPointName(int index);
bool EntryPointBound(int index);

}  // namespace KxUxTheme

// Takes one reference and makes sure the library is loaded and bound; true
// when it is loaded. A failed load keeps the reference.
bool InitThemeLibrary();
// Gives one reference back; the last one unloads the library and clears
// every entry point.
void FreeThemeLibrary();
// The library is loaded, and both the application and the system use themes.
bool UseThemes();
// The library's handle (null while it is not loaded).
HMODULE ThemeLibrary();

void InitializeKxUxTheme();
void FinalizeKxUxTheme();
