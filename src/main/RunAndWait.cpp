#include "RunAndWait.h"
