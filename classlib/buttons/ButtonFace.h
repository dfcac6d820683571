// DrawButtonFace: the face of a push button drawn on a canvas, as buttons
// of the class library and of other libraries draw it.
#pragma once

#include "classlib/buttons/ButtonTypes.h"

// Draws the face of a button filling client: the new (Windows 95) look
// with DrawEdge rings when style is bsNew, or bsAutoDetect while
// NewStyleControls; else the old look: a clWindowFrame frame (its corners
// in clBtnFace when isRounded, a second frame inside when isFocused) round
// a Frame3D bevel of bevelWidth, or a shadow line at the top and left when
// down. The face is clBtnFace. Returns the area left for the content: the
// client less one pixel at the top and left and two at the bottom and
// right, moved one pixel down and right when down.
TRect DrawButtonFace(TCanvas* canvas, const TRect& client, int bevelWidth, TButtonStyle style, bool isRounded,
                     bool isDown, bool isFocused);
