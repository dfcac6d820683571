// The Classes unit: persistent objects, components, lists, string lists,
// streams and the stored-form reader and writer.
#pragma once

#include "classlib/classes/Errors.h"
#include "classlib/classes/Persistent.h"
#include "classlib/classes/Lists.h"
#include "classlib/classes/Streams.h"
#include "classlib/classes/Strings.h"
#include "classlib/classes/Collection.h"
#include "classlib/classes/Filer.h"
