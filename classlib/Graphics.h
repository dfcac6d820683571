// The Graphics unit: colours, fonts, pens, brushes, canvases, graphics,
// bitmaps and pictures.
#pragma once

#include "classlib/Types.h"
#include "classlib/graphics/Colors.h"
#include "classlib/graphics/GraphicsObjects.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Graphic.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/PatternBitmap.h"
#include "classlib/graphics/Picture.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/Metafile.h"
