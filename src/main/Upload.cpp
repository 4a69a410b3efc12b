#include "TZarn.h"

void TZarn::ButtonRunClick(QObject*) {}
