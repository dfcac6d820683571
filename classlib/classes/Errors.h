// The exception classes of the Classes unit.
#pragma once

#include "classlib/Exceptions.h"

DECLARE_EXCEPTION(EStreamError, Exception);
DECLARE_EXCEPTION(EFCreateError, EStreamError);
DECLARE_EXCEPTION(EFOpenError, EStreamError);
DECLARE_EXCEPTION(EFilerError, EStreamError);
DECLARE_EXCEPTION(EReadError, EFilerError);
DECLARE_EXCEPTION(EWriteError, EFilerError);
DECLARE_EXCEPTION(EClassNotFound, EFilerError);
DECLARE_EXCEPTION(EMethodNotFound, EFilerError);
DECLARE_EXCEPTION(EInvalidImage, EFilerError);
DECLARE_EXCEPTION(EResNotFound, Exception);
DECLARE_EXCEPTION(EListError, Exception);
DECLARE_EXCEPTION(EBitsError, Exception);
DECLARE_EXCEPTION(EStringListError, Exception);
DECLARE_EXCEPTION(EComponentError, Exception);
DECLARE_EXCEPTION(EParserError, Exception);
DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);
DECLARE_EXCEPTION(EInvalidOperation, Exception);
