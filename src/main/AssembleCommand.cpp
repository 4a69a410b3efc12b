#include "TZarn.h"

void TZarn::ButtonCompileClick(QObject*) {}
