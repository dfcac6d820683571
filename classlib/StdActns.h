// The StdActns unit: the standard actions.
#pragma once

#include "classlib/stdactns/DialogActions.h"
#include "classlib/stdactns/EditActions.h"
#include "classlib/stdactns/FileActions.h"
#include "classlib/stdactns/HelpActions.h"
#include "classlib/stdactns/HintAction.h"
#include "classlib/stdactns/SearchActions.h"
#include "classlib/stdactns/WindowActions.h"
