#include "ImageFile.h"
