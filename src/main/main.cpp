#include <QApplication>

#include "TZarn.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  TZarn window;
  window.show();
  application.exec();
  return 0;
}
