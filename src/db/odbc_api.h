#pragma once

// The ODBC C API. On Windows sql.h needs the Windows types declared first.
#include "base/windows_api.h"

#include <sql.h>
#include <sqlext.h>
