#include "db/catalogue.h"
