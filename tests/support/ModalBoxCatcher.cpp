#include "ModalBoxCatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QTest>

ModalBoxCatcher::ModalBoxCatcher(bool copyFirst) {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this, copyFirst] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    QString copied;
    if (copyFirst) {
      QGuiApplication::clipboard()->clear();
      QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
      copied = QGuiApplication::clipboard()->text();
    }
    boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(), copied});
    box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok)->click() : box->reject();
  });
  timer_.start();
}
