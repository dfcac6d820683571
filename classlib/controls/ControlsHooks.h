// What the Controls unit asks of the units built on it.
//
// On the platform the Controls unit reaches into Forms (the parent form, the
// application object, the screen) and Menus (pop-up menus, shortcuts). Here
// those units come later, so the Controls unit calls them through this one
// table. Each unit fills its entries in its start-up entry (and clears them
// in its finalisation): the Forms, Application and Screen entries in
// forms/FormsHooks.cpp, the Menus entries in InitializeMenus
// (menus/MenusUnit.cpp), the ImgList entry in forms/FormsHooks.cpp. An empty
// entry gives the behaviour of a control that sits on no form in a program
// without an application object.
#pragma once

#include <functional>
#include <string>

#include "classlib/controls/ControlTypes.h"

class TCustomForm;
class TPopupMenu;
class TCustomImageList;
class TBasicAction;

struct TControlsHooks {
  // --- Forms: the form a control sits on ---------------------------------
  // The control as a form (dynamic_cast<TCustomForm*>), or null.
  std::function<TCustomForm*(TControl* control)> AsForm;
  // The form as the window control it is (the upcast).
  std::function<TWinControl*(TCustomForm* form)> FormControl;
  // form->SetFocusedControl(control): records the active control, sends
  // CM_EXIT/CM_ENTER and broadcasts CM_FOCUSCHANGED; false stops the focus.
  std::function<bool(TCustomForm* form, TWinControl* control)> SetFocusedControl;
  // form->FocusControl(control): what SetFocus of a control on a form does.
  std::function<void(TCustomForm* form, TWinControl* control)> FocusControl;
  // form->DefocusControl(control, removing): a focused control (or one that
  // holds the focused one) is going away or becoming unfocusable.
  std::function<void(TCustomForm* form, TWinControl* control, bool removing)> DefocusControl;
  // form->WantChildKey(child, message): the form takes a key message of a
  // child first (KeyPreview); true when it has consumed it.
  std::function<bool(TCustomForm* form, TControl* child, TMessage& message)> WantChildKey;
  // form->KeyPreview: the form's own key handlers see its controls' keys
  // first (TWinControl's DoKeyDown/DoKeyPress/DoKeyUp on the form).
  std::function<bool(TCustomForm* form)> KeyPreview;
  // form->SendCancelMode(sender): ends modes (drags, captures, drop-downs)
  // of the form's active control.
  std::function<void(TCustomForm* form, TControl* sender)> SendCancelMode;
  // --- Application ---------------------------------------------------------
  // Application->HandleException(sender). Called inside the catch block, so
  // std::current_exception() is the exception. Default: OutputDebugString
  // and a message box through the message-box seam.
  std::function<void(TObject* sender)> HandleException;
  // Application->ControlDestroyed(control): MouseControl cleared, hint gone.
  std::function<void(TControl* control)> ControlDestroyed;
  // Application->HintMouseMessage(control, message) on every WM_MOUSEMOVE a
  // control receives.
  std::function<void(TControl* control, TMessage& message)> HintMouseMessage;
  // Application->HintShortCuts.
  std::function<bool()> HintShortCuts;
  // Application->ExecuteAction/UpdateAction (OnActionExecute/OnActionUpdate).
  std::function<bool(TBasicAction* action)> ExecuteAction;
  std::function<bool(TBasicAction* action)> UpdateAction;
  // The application window (Application->Handle), target of CM_ACTIONEXECUTE
  // and CM_ACTIONUPDATE when no list or application handler took an action.
  std::function<HWND()> ApplicationHandle;
  // --- Screen ---------------------------------------------------------------
  // Screen->Cursor (crDefault lets controls choose).
  std::function<TCursor()> ScreenCursor;
  // Screen->Cursors[cursor]. Default: the system cursor of a stock value.
  std::function<HCURSOR(TCursor cursor)> CursorHandle;
  // --- Menus ----------------------------------------------------------------
  // The pop-up menu as the component it is (the upcast).
  std::function<TComponent*(TPopupMenu* menu)> PopupMenuComponent;
  // When menu->AutoPopup: PopupComponent := control, Popup(X, Y); true when
  // the menu was shown.
  std::function<bool(TPopupMenu* menu, TControl* control, POINT screenPos)> PopupMenuPopup;
  // The control's (or a parent's) pop-up menu or its form's menu takes the
  // key as a shortcut (the platform's IsMenuKey): true when it did.
  std::function<bool(TWinControl* control, TMessage& keyMessage)> IsMenuKey;
  // ShortCutToText(shortCut), for hints that show an action's shortcut.
  std::function<std::string(uint16_t shortCut)> ShortCutToText;
  // --- ImgList --------------------------------------------------------------
  std::function<TComponent*(TCustomImageList* images)> ImageListComponent;
};

// The process's table (one per process, like the platform's unit globals).
TControlsHooks& ControlsHooks();

// Reports the current exception through HandleException; for every
// callback that must not let an exception out (window procedures, hooks,
// timers). Call it inside a catch block.
void ControlsHandleException(TObject* sender) noexcept;
