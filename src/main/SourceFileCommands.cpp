#include "TZarn.h"

void TZarn::ButtonOpenClick(QObject*) {}

void TZarn::ButtonSaveClick(QObject*) {}

void TZarn::ButtonSaveAsClick(QObject*) {}
