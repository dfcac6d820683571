// The Printers unit: the printers of the system and the one TPrinter the
// program shares (Printer()).
#pragma once

#include "classlib/printers/Printer.h"
