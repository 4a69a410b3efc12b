#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "FormLayout.h"
#include "HandlerGuard.h"
#include "ModalBoxCatcher.h"
#include "ProgramState.h"
#include "TZarn.h"
#include "TestProgram.h"
#include "TextPane.h"
#include "ZarnError.h"
#include "TableRows.h"

namespace {

using Calls = std::vector<std::string>;

TEST(Window, LayoutCaptionsAndFirstTexts) {
  TestProgram program({"COM2"});
  TZarn& w = *program.window;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Morvane Zarn"));
  const int textHeight = QFontMetrics(w.font()).height();
  const struct {
    QWidget* control;
    const char* name;
    const char* caption;
    QRect designed;
  } controls[] = {
      {w.ButtonOpen, "ButtonOpen", "Open", {8, 8, 65, 25}},
      {w.ButtonSave, "ButtonSave", "Save", {80, 8, 65, 25}},
      {w.ButtonSaveAs, "ButtonSaveAs", "Save as", {152, 8, 65, 25}},
      {w.ButtonCompile, "ButtonCompile", "TASM", {224, 8, 65, 25}},
      {w.ButtonRun, "ButtonRun", "Run", {296, 8, 65, 25}},
      {w.RadioButtonCOM1, "RadioButtonCOM1", "COM1", {400, 16, 73, 9}},
      {w.RadioButtonCOM2, "RadioButtonCOM2", "COM2", {464, 16, 65, 9}},
      {w.Memo1, "Memo1", nullptr, {8, 48, 297, 369}},
      {w.Memo2, "Memo2", nullptr, {312, 48, 433, 369}},
  };
  w.show();
  w.resize(1200, 900);
  QWidget* previous = nullptr;
  for (const auto& c : controls) {
    EXPECT_EQ(w.findChild<QWidget*>(QLatin1String(c.name)), c.control) << c.name;
    EXPECT_EQ(c.control->geometry(), ScaledRect(c.designed, textHeight)) << c.name;
    if (auto* button = qobject_cast<QAbstractButton*>(c.control)) {
      EXPECT_EQ(button->text(), QLatin1String(c.caption)) << c.name;
    }
    if (previous != nullptr) {
      QWidget* next = previous->nextInFocusChain();
      while ((next->focusPolicy() & Qt::TabFocus) == 0) next = next->nextInFocusChain();
      EXPECT_EQ(next, c.control) << "tab order at " << c.name;
    }
    previous = c.control;
  }
  EXPECT_FALSE(w.RadioButtonCOM1->isChecked());
  EXPECT_TRUE(w.RadioButtonCOM2->isChecked());
  EXPECT_EQ(w.Memo1->Text(), QStringLiteral("Editor\r\n"));
  EXPECT_EQ(w.Memo2->Text(), QStringLiteral("Results\r\n"));
  for (TextPane* pane : {w.Memo1, w.Memo2}) {
    EXPECT_EQ(pane->font().pixelSize(), 13);
    EXPECT_EQ(pane->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(pane->tabChangesFocus());
    EXPECT_FALSE(pane->isReadOnly());
    EXPECT_EQ(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  }
}

TEST(Window, LayoutScalesWithTheTextHeight) {
  EXPECT_EQ(ScaledRect({8, 48, 297, 369}, 13), QRect(8, 48, 297, 369));
  EXPECT_EQ(ScaledRect({8, 48, 297, 369}, 26), QRect(16, 96, 594, 738));
  EXPECT_EQ(ScaledRect({400, 16, 73, 9}, 16), QRect(492, 20, 90, 11));
}

struct StartCase {
  const char* name;
  std::set<std::string> ports;
  bool com1Checked;
  int selectedPort;
  std::vector<QString> results;
  Calls portCalls;
};

class Startup : public ::testing::TestWithParam<StartCase> {};

TEST_P(Startup, ProbesThePortsAsDesigned) {
  const StartCase& c = GetParam();
  TestProgram program(c.ports);
  TZarn& w = *program.window;
  EXPECT_EQ(w.RadioButtonCOM1->isChecked(), c.com1Checked);
  EXPECT_EQ(w.RadioButtonCOM2->isChecked(), !c.com1Checked);
  EXPECT_EQ(SelectedPort, c.selectedPort);
  EXPECT_EQ(Lines(w.Memo2), c.results);
  EXPECT_EQ(program.fakes.port.CallsLike({"open", "settings", "close"}), c.portCalls);
  EXPECT_EQ(program.fakes.port.OpenHandles(), 0u) << "start-up leaves no port open";
}

INSTANTIATE_TEST_SUITE_P(
    OutcomeTable, Startup,
    ::testing::Values(
        StartCase{"Com2Present", {"COM2"}, false, 2, {"Results"},
                  {"open COM2", "settings 19200 N 8 2", "close COM2"}},
        StartCase{"OnlyCom1Present", {"COM1"}, true, 1, {"Results", "COM1 ok"},
                  {"open COM2", "settings refused", "close refused", "open COM1",
                   "settings 9600 N 8 2", "close COM1", "open COM1", "settings 19200 N 8 2",
                   "close COM1"}},
        StartCase{"NeitherPresent", {}, true, 2, {"Results", "COM1 error"},
                  {"open COM2", "settings refused", "close refused", "open COM1",
                   "settings refused", "close refused", "open COM1", "settings refused",
                   "close refused"}}),
    RowName);

TEST(Startup, StartsTheClock) {
  TestProgram program({"COM2"}, 3600000000000);
  EXPECT_LT(ElapsedMs(), 1.0) << "a clock never started would read about 3 million ms";
}

struct SelectCase {
  const char* name;
  bool clickCom1;
  std::set<std::string> ports;
  int selectedPort;
  const char* status;
};

class PortSelection : public ::testing::TestWithParam<SelectCase> {};

TEST_P(PortSelection, TestsThePortAndFallsBack) {
  const SelectCase& c = GetParam();
  TestProgram program({"COM2", "COM1"});
  TZarn& w = *program.window;
  w.show();
  if (!c.clickCom1) QTest::mouseClick(w.RadioButtonCOM1, Qt::LeftButton);
  program.fakes.port.present = c.ports;
  program.fakes.port.calls.clear();

  QRadioButton* chosen = c.clickCom1 ? w.RadioButtonCOM1 : w.RadioButtonCOM2;
  QTest::mouseClick(chosen, Qt::LeftButton);
  EXPECT_EQ(SelectedPort, c.selectedPort);
  EXPECT_EQ(w.Memo2->GetLine(1), QLatin1String(c.status));
  EXPECT_EQ(w.Memo2->GetLine(0), QStringLiteral("Results"));
  EXPECT_TRUE(chosen->isChecked()) << "the handler never changes the checked button";
  const std::string mode = c.clickCom1 ? "COM1" : "COM2";
  EXPECT_EQ(program.fakes.port.CallsLike({"open", "settings 9"}).front(), "open " + mode);
  EXPECT_EQ(program.fakes.port.OpenHandles(), 0u);

  program.fakes.port.calls.clear();
  QTest::mouseClick(chosen, Qt::LeftButton);
  EXPECT_TRUE(program.fakes.port.calls.empty()) << "choosing the checked button runs nothing";
  EXPECT_EQ(SelectedPort, c.selectedPort);
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, PortSelection,
    ::testing::Values(SelectCase{"Com1Opens", true, {"COM1"}, 1, "COM1 ok"},
                      SelectCase{"Com1Fails", true, {"COM2"}, 2, "COM1 error"},
                      SelectCase{"Com2Opens", false, {"COM2"}, 2, "COM2 ok"},
                      SelectCase{"Com2Fails", false, {"COM1"}, 1, "COM2 error"}),
    RowName);

TEST(PortSelection, WithoutALine1TheStatusIsLostButThePortIsStillSet) {
  TestProgram program({"COM2"});
  TZarn& w = *program.window;
  w.show();
  w.Memo2->ClearText();
  program.fakes.port.present = {};
  QTest::mouseClick(w.RadioButtonCOM1, Qt::LeftButton);
  EXPECT_EQ(w.Memo2->Text(), QString());
  EXPECT_EQ(SelectedPort, 2);
  EXPECT_EQ(program.fakes.port.OpenHandles(), 0u);
}

TEST(PortSelection, HintNamesTheDeviceAndWhyTheLastTestFailed) {
  TestProgram program({"COM2"});
  TZarn& w = *program.window;
  EXPECT_EQ(w.PortHint(2), QStringLiteral("COM2: /dev/fakeCOM2"));
  EXPECT_EQ(w.PortHint(1), QStringLiteral("COM1: no serial device stands for this port now."));
  const struct {
    serial::OpenFailure failure;
    const char* reason;
  } cases[] = {
      {serial::OpenFailure::NoDevice, "no such device"},
      {serial::OpenFailure::PermissionDenied, "dialout group"},
      {serial::OpenFailure::InUse, "in use by another program"},
  };
  w.show();
  for (const auto& c : cases) {
    program.fakes.port.absentFailure = c.failure;
    QTest::mouseClick(w.RadioButtonCOM1, Qt::LeftButton);
    EXPECT_TRUE(w.PortHint(1).contains(QLatin1String(c.reason))) << w.PortHint(1).toStdString();
    QTest::mouseClick(w.RadioButtonCOM2, Qt::LeftButton);
    EXPECT_FALSE(w.PortHint(2).contains(QLatin1String("failed")));
  }
}

TEST(ErrorBox, FullStopRule) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"", ""},
      {"Datei work.lst kann nicht geöffnet werden", "Datei work.lst kann nicht geöffnet werden."},
      {"Stream-Write-Fehler", "Stream-Write-Fehler."},
      {"Ends in a stop.", "Ends in a stop."},
      {"E/A-Fehler 9", "E/A-Fehler 9."},
      {"path/", "path/."},
      {"Kapazität", "Kapazität."},
      {"blank ", "blank "},
      {"bang!", "bang!"},
      {"comma,", "comma,"},
      {"dash-", "dash-"},
      {"(paren)", "(paren)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithFullStop(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
  }
}

TEST(ErrorBox, TitleFromTheProgramFile) {
  const struct {
    const char* file;
    const char* title;
  } cases[] = {
      {"/usr/local/bin/zarn", "Zarn"}, {"Zarn.exe", "Zarn"},   {"ZARN.EXE", "Zarn"},
      {"my.tool.exe", "My"},           {"/opt/x/main_tests", "Main_tests"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TitleFromProgramFile(QLatin1String(c.file)), QLatin1String(c.title)) << c.file;
  }
}

TEST(ErrorBox, EscapingErrorIsShownAndTheRestOfTheHandlerSkipped) {
  TestProgram program({"COM2"});
  ModalBoxCatcher catcher;
  bool rest = false;
  RunGuarded([&] {
    throw ZarnError(QStringLiteral("Datei work.lst kann nicht geöffnet werden"));
    rest = true;
  });
  RunGuarded([] { throw std::runtime_error("plain"); });
  EXPECT_FALSE(rest);
  ASSERT_EQ(catcher.boxes.size(), 2u);
  EXPECT_EQ(catcher.boxes[0].text, QStringLiteral("Datei work.lst kann nicht geöffnet werden."));
  EXPECT_EQ(catcher.boxes[0].title,
            TitleFromProgramFile(QCoreApplication::applicationFilePath()));
  EXPECT_EQ(catcher.boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(catcher.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(catcher.boxes[1].text, QStringLiteral("plain."));
}

TEST(ErrorBox, CtrlCCopiesTitleAndText) {
  TestProgram program({"COM2"});
  program.window->show();
  ModalBoxCatcher catcher(true);
  RunGuarded([] { throw ZarnError(QStringLiteral("Stream-Write-Fehler")); });
  ASSERT_EQ(catcher.boxes.size(), 1u);
  const QString rule = QStringLiteral("---------------------------\n");
  EXPECT_EQ(catcher.boxes[0].copied, rule + catcher.boxes[0].title + "\n" + rule +
                                         "Stream-Write-Fehler.\n" + rule + "OK\n" + rule);
}

}  // namespace
