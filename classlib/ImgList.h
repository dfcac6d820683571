// The ImgList unit: image lists and their change links.
#pragma once

#include "classlib/imglist/ImageList.h"
