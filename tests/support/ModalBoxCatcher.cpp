#include "ModalBoxCatcher.h"

#include <QAbstractButton>
#include <QApplication>

ModalBoxCatcher::ModalBoxCatcher() {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok)->click() : box->reject();
  });
  timer_.start();
}
