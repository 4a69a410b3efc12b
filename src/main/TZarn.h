#pragma once

#include <QWidget>
#include <array>

#include "SerialPlatform.h"

class FileDialog;
class QPushButton;
class QRadioButton;
class TextPane;

// The main window.
class TZarn : public QWidget {
  Q_OBJECT

 public:
  explicit TZarn(QWidget* parent = nullptr);
  ~TZarn() override;

  QPushButton* ButtonOpen;
  QPushButton* ButtonSave;
  QPushButton* ButtonSaveAs;
  QPushButton* ButtonCompile;
  QPushButton* ButtonRun;
  QRadioButton* RadioButtonCOM1;
  QRadioButton* RadioButtonCOM2;
  TextPane* Memo1;
  TextPane* Memo2;
  FileDialog* OpenDialog1;
  FileDialog* SaveDialog1;

  void ButtonOpenClick(QObject* Sender);
  void FormCreate(QObject* Sender);
  void RadioButtonCOM1Click(QObject* Sender);
  void RadioButtonCOM2Click(QObject* Sender);
  void ButtonRunClick(QObject* Sender);
  void ButtonCompileClick(QObject* Sender);
  void ButtonSaveAsClick(QObject* Sender);
  void ButtonSaveClick(QObject* Sender);

  // What a port's radio button tells on hovering: the device it stands
  // for now and, after a failed test, why it failed.
  QString PortHint(int port) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ConnectHandlers();
  // OpenPort, remembering for the port's hint why it failed.
  bool OpenPortNoting(int port, const char* mode);
  // Selects a port, test-opens it and tells the outcome on the status line.
  void TestPort(int port);

  std::array<serial::OpenFailure, 2> lastFailure_{};
  std::array<bool, 2> lastTestFailed_{};
};
