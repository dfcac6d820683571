// The StdActns unit: the standard actions.
#pragma once

#include "classlib/stdactns/HintAction.h"
