#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <vector>

// Presses OK on every modal message box that comes up while it lives and
// keeps what each one showed.
class ModalBoxCatcher {
 public:
  struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QString copied;
  };

  // copyFirst: press Ctrl+C on each box before OK and keep the clipboard.
  explicit ModalBoxCatcher(bool copyFirst = false);
  ~ModalBoxCatcher() { timer_.stop(); }

  std::vector<Box> boxes;

 private:
  QTimer timer_;
};
