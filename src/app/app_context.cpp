#include "app/app_context.h"
