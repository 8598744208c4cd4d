#include "refdata/ref_tables.h"
