// Owner-drawn items of list boxes and combo boxes: what CN_DRAWITEM and
// CN_MEASUREITEM do for both.
#pragma once

#include <functional>

#include "classlib/Controls.h"

using TDrawItemProc = std::function<void(int index, TRect rect, TOwnerDrawState state)>;
using TMeasureItemProc = std::function<void(int index, int& height)>;

// Draws the item d asks for: the canvas takes d's DC with the control's font
// and brush (the selection colours for a selected item); draw paints an
// item, or the area without one is filled; a focused item gets its focus
// rectangle. The canvas lets the DC go again, also when draw throws.
void DrawOwnerDrawnItem(TCanvas* canvas, TWinControl* control, const DRAWITEMSTRUCT& d, const TDrawItemProc& draw);
// The item's height: itemHeight, or what measure makes of it for variable
// items.
void MeasureOwnerDrawnItem(MEASUREITEMSTRUCT& mi, int itemHeight, bool variable, const TMeasureItemProc& measure);
