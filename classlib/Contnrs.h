// The Contnrs unit: lists that own objects, and lists of components.
#pragma once

#include "classlib/contnrs/ObjectList.h"
