#pragma once

#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "BoardProcess.h"
#include "ModalBoxCatcher.h"
#include "ProgramState.h"
#include "TZarn.h"
#include "TempWorkDir.h"
#include "TimedPlatform.h"

// The bytes i * 37 + 11: every value, none next to its neighbour.
inline QByteArray SpreadImage(int size) {
  QByteArray image(size, '\0');
  for (int i = 0; i < size; ++i) image[i] = static_cast<char>(i * 37 + 11);
  return image;
}

// The program and the board stand-in at the two ends of a pseudo-terminal:
// a shown window whose COM2 is the stand-in's terminal, in a working
// folder of its own that holds the image as work.bin.
class StandInUpload {
 public:
  // program: the stand-in's path; options: its own, such as "--silent".
  StandInUpload(const std::string& program, const QByteArray& image, std::vector<std::string> options)
      : link_(dir_.Path(QStringLiteral("board")).toStdString()),
        line_([this](const std::string& port) { return port == "COM2" ? link_ : std::string(); }) {
    dir_.Write(QStringLiteral("work.bin"), image);
    SelectedPort = 2;
    // Made before the stand-in runs, so that the start-up probe finds no
    // port and leaves the terminal alone.
    window_ = std::make_unique<TZarn>();
    options.insert(options.end(), {"--link", link_});
    board_ = std::make_unique<BoardProcess>(
        program, dir_.Path(QStringLiteral("received")).toStdString(), std::move(options));
    window_->show();
    ready_ = !board_->TerminalPath().empty() && SelectedPort == 2 &&
             QTest::qWaitForWindowExposed(window_.get());
  }

  // The stand-in runs and the window is up.
  bool Ready() const { return ready_; }

  // Presses "Run", then stops the stand-in and returns what it received.
  std::vector<BoardProcess::Received> Run() {
    ModalBoxCatcher catcher;
    line_.events.clear();
    window_->ButtonRun->click();
    boxes_ = catcher.boxes;
    return board_->Stop();
  }

  // What the program did on the line during the latest Run.
  const TimedPlatform& Line() const { return line_; }
  // The error boxes the latest Run brought up.
  const std::vector<ModalBoxCatcher::Box>& Boxes() const { return boxes_; }

 private:
  TempWorkDir dir_;
  std::string link_;
  TimedPlatform line_;
  std::vector<ModalBoxCatcher::Box> boxes_;
  std::unique_ptr<TZarn> window_;
  std::unique_ptr<BoardProcess> board_;
  bool ready_ = false;
};
