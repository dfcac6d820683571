// The Jpeg unit: the JPEG graphic.
#pragma once

#include "classlib/jpeg/JPEGImage.h"
