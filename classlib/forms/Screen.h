// TScreen: the desktop as the application sees it: its forms (most recently
// active first), the active form and control, cursors, fonts, metrics and
// monitors. One instance, the global Screen, made at start-up.
#pragma once

#include <map>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/forms/FormTypes.h"
#include "classlib/units/UnitGlobal.h"

class TCustomForm;
class TForm;

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };
DECLARE_ENUM_TYPE(TMonitorDefaultTo);

class TMonitor : public TObject {
  DECLARE_CLASS(TMonitor, TObject)

  TMonitor(HMONITOR handle, int monitorNum) : handle_(handle), monitorNum_(monitorNum) {}

  HMONITOR GetHandle() const { return handle_; }
  int GetMonitorNum() const { return monitorNum_; }
  TRect GetBoundsRect() const;
  TRect GetWorkareaRect() const;
  int GetLeft() const { return GetBoundsRect().left; }
  int GetTop() const { return GetBoundsRect().top; }
  int GetWidth() const;
  int GetHeight() const;
  bool GetPrimary() const;

 private:
  HMONITOR handle_;
  int monitorNum_;
};

class TScreen : public TComponent {
  DECLARE_CLASS(TScreen, TComponent)

  explicit TScreen(TComponent* owner);
  ~TScreen() override { DestroyUnfinished(); }

  // --- forms and focus -------------------------------------------------------------
  TWinControl* GetActiveControl() const { return activeControl_; }
  // The active form when it is a TForm, else null.
  TForm* GetActiveForm() const;
  TCustomForm* GetActiveCustomForm() const { return activeCustomForm_; }
  // The form that has (or last had) the focus; a modal form while it runs.
  TCustomForm* GetFocusedForm() const { return focusedForm_; }
  int GetFormCount() const;
  TForm* GetForms(int index) const;
  int GetCustomFormCount() const { return static_cast<int>(customForms_.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index, as
  // GetForms and GetMonitors do.
  TCustomForm* GetCustomForms(int index) const {
    if (index < 0 || index >= GetCustomFormCount()) TList::Error(SListIndexError, index);
    return customForms_[static_cast<size_t>(index)];
  }
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  // Fires OnActiveFormChange / OnActiveControlChange when they changed.
  void UpdateLastActive();
  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

  // --- cursors -------------------------------------------------------------------
  // The global override: crDefault lets each control choose its own.
  TCursor GetCursor() const { return cursor_; }
  void SetCursor(TCursor v);
  // The handle of a cursor value; crNone gives null, an unknown value the
  // default cursor.
  HCURSOR GetCursors(int index) const;
  // Installs (or with null removes) a cursor; the screen destroys what it
  // holds when replaced and at its end, except the shared system cursors.
  void SetCursors(int index, HCURSOR handle);

  // --- fonts ---------------------------------------------------------------------
  // The installed font families, sorted, each once.
  TStrings* GetFonts();
  TFont* GetHintFont() const { return hintFont_; }
  void SetHintFont(TFont* v) { hintFont_->Assign(v); }
  TFont* GetIconFont() const { return iconFont_; }
  void SetIconFont(TFont* v) { iconFont_->Assign(v); }
  TFont* GetMenuFont() const { return menuFont_; }
  void SetMenuFont(TFont* v) { menuFont_->Assign(v); }

  // --- metrics and monitors ---------------------------------------------------------
  int GetPixelsPerInch() const { return pixelsPerInch_; }
  int GetWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
  int GetHeight() const { return GetSystemMetrics(SM_CYSCREEN); }
  TRect GetDesktopRect() const;
  int GetDesktopLeft() const { return GetDesktopRect().left; }
  int GetDesktopTop() const { return GetDesktopRect().top; }
  int GetDesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
  int GetDesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
  TRect GetWorkAreaRect() const;
  int GetMonitorCount();
  TMonitor* GetMonitors(int index);
  TMonitor* MonitorFromPoint(POINT p, TMonitorDefaultTo defaultTo = mdNearest);
  TMonitor* MonitorFromWindow(HWND window, TMonitorDefaultTo defaultTo = mdNearest);
  TMonitor* MonitorFromRect(const TRect& r, TMonitorDefaultTo defaultTo = mdNearest);

 protected:
  void Destroy() override;

 private:
  friend class TCustomForm;
  friend class TApplication;
  void GetMetricSettings();
  void LoadCursors();
  void DestroyCursors();
  void GetMonitorList();
  TMonitor* FindMonitor(HMONITOR handle);

  std::vector<TCustomForm*> customForms_;
  std::vector<TCustomForm*> saveFocusedList_;
  TWinControl* activeControl_ = nullptr;
  TCustomForm* activeCustomForm_ = nullptr;
  TCustomForm* focusedForm_ = nullptr;
  TWinControl* lastActiveControl_ = nullptr;
  TCustomForm* lastActiveCustomForm_ = nullptr;

  TCursor cursor_ = crDefault;
  int cursorCount_ = 0;
  HCURSOR defaultCursor_ = nullptr;
  std::map<int, HCURSOR> cursors_;
  std::map<int, bool> sharedCursors_;

  TStringList* fonts_ = nullptr;
  TFont* hintFont_ = nullptr;
  TFont* iconFont_ = nullptr;
  TFont* menuFont_ = nullptr;
  int pixelsPerInch_ = 96;
  std::vector<TMonitor*> monitors_;
};

// The process's screen and application (the platform's unit globals), made
// by the Forms unit's start-up entry and freed by its finalisation.
extern TUnitGlobal<TScreen> Screen;
