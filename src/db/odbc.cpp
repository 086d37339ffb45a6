#include "db/odbc.h"
