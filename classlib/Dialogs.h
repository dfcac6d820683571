// The Dialogs unit: the common dialogs (their base, colour, file, font,
// find and replace, print) and ShowMessage.
#pragma once

#include "classlib/dialogs/ColorDialog.h"
#include "classlib/dialogs/CommonDialog.h"
#include "classlib/dialogs/FileDialog.h"
#include "classlib/dialogs/FindDialog.h"
#include "classlib/dialogs/FontDialog.h"
#include "classlib/dialogs/PrintDialog.h"
#include "classlib/dialogs/ShowMessage.h"
