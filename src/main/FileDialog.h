#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// A common file dialog that holds a file name: set it before Execute and
// read it afterwards. Confirmed, it is the chosen file's full path;
// cancelled, it keeps the name that was set.
class FileDialog {
 public:
  enum class Kind { Open, Save };

  FileDialog(Kind kind, QWidget* owner) : kind_(kind), owner_(owner) {}

  // Shows the dialog and waits; true when the user confirmed. A confirmed
  // dialog moves the process's current directory to the chosen file's folder.
  bool Execute();

  Kind DialogKind() const { return kind_; }

  QString FileName;

 private:
  Kind kind_;
  QWidget* owner_;
};

// Stands in for the user at the dialog: given the dialog and the name it
// opens with, the chosen path, or nothing for a cancel. For tests.
using DialogStandIn = std::function<std::optional<QString>(FileDialog::Kind, const QString&)>;
void UseDialogStandIn(DialogStandIn standIn);
