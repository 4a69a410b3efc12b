#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <cerrno>

#include "ByteToHex.h"
#include "ImageFile.h"
#include "ModalBoxCatcher.h"
#include "QtPrinters.h"
#include "ReadFault.h"
#include "TableRows.h"
#include "TempWorkDir.h"
#include "TestProgram.h"

namespace {

using Calls = std::vector<std::string>;

const QString kFirstFullLine = QStringLiteral("0000  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");

// The bytes 00, 01, ... FF, 00, ...: each byte's value is its offset's low byte.
QByteArray Counting(int size) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>(i & 0xFF);
  return bytes;
}

std::vector<std::uint8_t> Bytes(const QByteArray& bytes) {
  return {bytes.begin(), bytes.end()};
}

// True while some descriptor of this process is open on the file.
bool HeldOpen(const QString& path) {
  const QString target = QFileInfo(path).canonicalFilePath();
  const QDir fds(QStringLiteral("/proc/self/fd"));
  for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
    if (QFileInfo(fds.filePath(fd)).symLinkTarget() == target) return true;
  }
  return false;
}

// Runs the rest of the scope as a plain user when the test runs as root,
// so that file permissions count.
class AsPlainUser {
 public:
  AsPlainUser() : wasRoot_(geteuid() == 0) {
    if (wasRoot_) switched_ = seteuid(65534) == 0;
  }
  ~AsPlainUser() {
    if (switched_ && seteuid(0) != 0) std::abort();
  }
  bool Ready() const { return !wasRoot_ || switched_; }

 private:
  bool wasRoot_;
  bool switched_ = false;
};

// A fresh program over the serial fakes, both ports present, in a working
// folder of its own that a plain user may enter.
class Upload : public ::testing::Test {
 protected:
  Upload() { chmod(QFile::encodeName(dir.Path(QStringLiteral("."))).constData(), 0755); }

  void Image(const QByteArray& bytes) { ASSERT_TRUE(dir.Write(QStringLiteral("work.bin"), bytes)); }
  QString ImagePath() const { return dir.Path(QStringLiteral("work.bin")); }
  void Run() {
    port.calls.clear();
    w.ButtonRun->click();
  }
  bool EndSequenceRan() const { return !port.CallsLike({"dtr 0"}).empty(); }
  void ExpectPortLeftOpenForTheBoard() const {
    EXPECT_EQ(port.OpenHandles(), 1u);
    EXPECT_TRUE(port.dtr);
    EXPECT_FALSE(port.rts);
  }

  TempWorkDir dir;
  TestProgram program{{"COM1", "COM2"}};
  TZarn& w = *program.window;
  FakeSerialPlatform& port = program.fakes.port;
  ModalBoxCatcher boxes;
};

TEST(ByteToHex, TwoUpperCaseDigitsHighFirst) {
  const struct {
    int value;
    const char* hex;
  } cases[] = {{0, "00"}, {9, "09"}, {10, "0A"}, {15, "0F"}, {16, "10"}, {171, "AB"}, {255, "FF"}};
  for (const auto& c : cases) EXPECT_EQ(ByteToHex(c.value), QLatin1String(c.hex)) << c.value;
  for (int value = 0; value < 256; ++value) {
    const QString hex = ByteToHex(value);
    bool ok = false;
    EXPECT_EQ(hex.size(), 2);
    EXPECT_EQ(hex.toInt(&ok, 16), value);
    EXPECT_EQ(hex, hex.toUpper());
  }
}

TEST(InOutError, CarriesTheCodeAndTheRunTimesMessage) {
  const struct {
    int code;
    const char* message;
  } cases[] = {
      {2, "Datei nicht gefunden"},
      {3, "Ungültiger Dateiname"},
      {4, "Zu viele geöffnete Dateien"},
      {5, "Dateizugriff verweigert"},
      {100, "Versuch hinter dem Dateiende zu lesen"},
      {101, "Zu wenig Speicherplatz"},
      {106, "Ungültige numerische Eingabe"},
      {0, "E/A-Fehler 0"},
      {1, "E/A-Fehler 1"},
      {102, "E/A-Fehler 102"},
      {1117, "E/A-Fehler 1117"},
  };
  for (const auto& c : cases) {
    const InOutError error(c.code);
    EXPECT_EQ(error.Code(), c.code);
    EXPECT_EQ(error.Message(), QString::fromUtf8(c.message));
  }
}

struct DumpCase {
  const char* name;
  int bytes;
  int lines;
  std::vector<QString> head;
  std::vector<QString> tail;
};
void PrintTo(const DumpCase& row, std::ostream* out) { *out << row.name; }

class DumpLayout : public Upload, public ::testing::WithParamInterface<DumpCase> {};

TEST_P(DumpLayout, AddressLinesOfSixteenBytesClearedPast260Lines) {
  const DumpCase& c = GetParam();
  const QByteArray image = Counting(c.bytes);
  Image(image);
  Run();
  const std::vector<QString> lines = Lines(w.Memo2);
  ASSERT_EQ(static_cast<int>(lines.size()), c.lines);
  EXPECT_EQ(std::vector<QString>(lines.begin(), lines.begin() + c.head.size()), c.head);
  EXPECT_EQ(std::vector<QString>(lines.end() - c.tail.size(), lines.end()), c.tail);
  EXPECT_TRUE(port.written == Bytes(image)) << "every byte sent once, in order";
  EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Images, DumpLayout,
    ::testing::Values(
        DumpCase{"Empty", 0, 1, {"0000 "}, {}},
        DumpCase{"OneByte", 1, 1, {"0000  00"}, {}},
        DumpCase{"SixteenBytesEndOnAnEmptyAddressLine", 16, 2, {kFirstFullLine, "0010 "}, {}},
        DumpCase{"TwentyBytes", 20, 2, {kFirstFullLine, "0010  10 11 12 13"}, {}},
        DumpCase{"JustBelowTheLimit", 4175, 261, {kFirstFullLine},
                 {"1030  30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F",
                  "1040  40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E"}},
        DumpCase{"ClearsBeforeLine1050", 4176, 1, {"1050 "}, {}},
        DumpCase{"CounterWrapsAfter65536", 65536, 182,
                 {"F4B0  B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF"},
                 {"FFF0  F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF", "0000 "}}),
    RowName);

struct HandshakeCase {
  const char* name;
  std::deque<std::uint8_t> answers;
  int sent;
  std::vector<QString> dump;
};
void PrintTo(const HandshakeCase& row, std::ostream* out) { *out << row.name; }

class Handshake : public Upload, public ::testing::WithParamInterface<HandshakeCase> {};

TEST_P(Handshake, ZeroStopsBeforeTheByteAnythingElseLetsItGo) {
  const HandshakeCase& c = GetParam();
  const QByteArray image = Counting(20);
  Image(image);
  port.answers = c.answers;
  Run();
  EXPECT_EQ(Lines(w.Memo2), c.dump);
  EXPECT_TRUE(port.written == Bytes(image.left(c.sent)));
  EXPECT_FALSE(HeldOpen(ImagePath()));
  if (c.sent < image.size()) {
    EXPECT_FALSE(EndSequenceRan());
    ExpectPortLeftOpenForTheBoard();
  } else {
    EXPECT_TRUE(EndSequenceRan());
    EXPECT_EQ(port.OpenHandles(), 0u);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

std::deque<std::uint8_t> Answers(std::size_t count, std::uint8_t value, std::deque<std::uint8_t> then = {}) {
  std::deque<std::uint8_t> answers(count, value);
  answers.insert(answers.end(), then.begin(), then.end());
  return answers;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Handshake,
    ::testing::Values(
        HandshakeCase{"ZeroAtOnce", {0x00}, 0, {"0000  00"}},
        HandshakeCase{"ZeroAfter17Bytes", Answers(17, 0x06, {0x00}), 17,
                      {kFirstFullLine, "0010  10 11"}},
        HandshakeCase{"SilentBoardGetsEveryByte", {}, 20, {kFirstFullLine, "0010  10 11 12 13"}},
        HandshakeCase{"AnswersQueuedDuringTheResetServeTheFirstBytes", {0x06, 0x06, 0x00}, 2,
                      {"0000  00 01 02"}},
        HandshakeCase{"AnswerFFIsNotMinusOne", Answers(20, 0xFF), 20,
                      {kFirstFullLine, "0010  10 11 12 13"}}),
    RowName);

struct Step {
  const char* call;
  double pauseMs;  // until the next step; below 0: not checked
};

enum class ImageSetUp { TwoBytes, Missing, ShortenedBeforeTheSecondRead };

struct LineCase {
  const char* name;
  ImageSetUp image;
  std::deque<std::uint8_t> answers;
  std::vector<Step> steps;
  bool portLeftOpen;
};
void PrintTo(const LineCase& row, std::ostream* out) { *out << row.name; }

class LineStates : public Upload, public ::testing::WithParamInterface<LineCase> {};

// Line changes, reads, writes and the open and close, each with the time
// until the next one, on the fake clock.
std::vector<std::pair<std::string, double>> Timeline(const FakeSerialPlatform& port) {
  std::vector<const FakeSerialPlatform::Call*> picked;
  for (const auto& call : port.calls) {
    for (const char* prefix : {"open", "dtr", "rts", "read", "write", "close"}) {
      if (call.what.rfind(prefix, 0) == 0) picked.push_back(&call);
    }
  }
  std::vector<std::pair<std::string, double>> timeline;
  for (std::size_t i = 0; i < picked.size(); ++i) {
    const double pause = i + 1 < picked.size() ? picked[i + 1]->atMs - picked[i]->atMs : -1;
    timeline.emplace_back(picked[i]->what, pause);
  }
  return timeline;
}

TEST_P(LineStates, ResetTransferAndEndInOrderWithTheirPauses) {
  const LineCase& c = GetParam();
  if (c.image != ImageSetUp::Missing) Image(Counting(2));
  if (c.image == ImageSetUp::ShortenedBeforeTheSecondRead) {
    read_fault::ShortenBefore(ImagePath().toStdString(), 2);
  }
  port.answers = c.answers;
  Run();
  read_fault::Clear();

  const auto timeline = Timeline(port);
  ASSERT_EQ(timeline.size(), c.steps.size());
  for (std::size_t i = 0; i < timeline.size(); ++i) {
    EXPECT_EQ(timeline[i].first, c.steps[i].call) << "step " << i;
    if (c.steps[i].pauseMs < 0) continue;
    EXPECT_GE(timeline[i].second, c.steps[i].pauseMs) << "after " << c.steps[i].call;
    EXPECT_LT(timeline[i].second, c.steps[i].pauseMs + 0.5) << "after " << c.steps[i].call;
  }
  if (c.portLeftOpen) {
    ExpectPortLeftOpenForTheBoard();
  } else {
    EXPECT_EQ(port.OpenHandles(), 0u);
  }
}

const std::vector<Step> kReset = {
    {"open COM2", 0}, {"rts 1", 10}, {"dtr 1", 100}, {"rts 0", 400}};

std::vector<Step> Steps(std::vector<Step> first, const std::vector<Step>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

INSTANTIATE_TEST_SUITE_P(
    Uploads, LineStates,
    ::testing::Values(
        LineCase{"Complete", ImageSetUp::TwoBytes, {0x06, 0x06},
                 Steps(kReset, {{"read 06", 0}, {"write 00", 5}, {"read 06", 0}, {"write 01", 15},
                                {"rts 1", 100}, {"dtr 0", 100}, {"rts 0", 100},
                                {"close COM2", -1}}),
                 false},
        LineCase{"SilentBoardCostsTheReadTimeout", ImageSetUp::TwoBytes, {},
                 {{"open COM2", 0}, {"rts 1", 10}, {"dtr 1", 100}, {"rts 0", 411},
                  {"read -1", 0}, {"write 00", 16}, {"read -1", 0}, {"write 01", 15},
                  {"rts 1", 100}, {"dtr 0", 100}, {"rts 0", 100}, {"close COM2", -1}},
                 false},
        LineCase{"MissingImageGoesStraightToTheEnd", ImageSetUp::Missing, {},
                 {{"open COM2", 10}, {"rts 1", 100}, {"dtr 0", 100}, {"rts 0", 100},
                  {"close COM2", -1}},
                 false},
        LineCase{"ZeroAtOnceLeavesThePortOpen", ImageSetUp::TwoBytes, {0x00},
                 Steps(kReset, {{"read 00", -1}}), true},
        LineCase{"ZeroAfterOneByteLeavesThePortOpen", ImageSetUp::TwoBytes, {0x06, 0x00},
                 Steps(kReset, {{"read 06", 0}, {"write 00", 5}, {"read 00", -1}}), true},
        LineCase{"ReadErrorLeavesThePortOpen", ImageSetUp::ShortenedBeforeTheSecondRead,
                 {0x06, 0x06}, Steps(kReset, {{"read 06", 0}, {"write 00", -1}}), true}),
    RowName);

struct UnopenableCase {
  const char* name;
  void (*make)(const QString& path);
};
void PrintTo(const UnopenableCase& row, std::ostream* out) { *out << row.name; }

class UnopenableImage : public Upload, public ::testing::WithParamInterface<UnopenableCase> {};

TEST_P(UnopenableImage, NoMessageTheResultsStayOnlyTheEndSequenceRuns) {
  GetParam().make(ImagePath());
  const QString results = w.Memo2->Text();
  {
    AsPlainUser plainUser;
    ASSERT_TRUE(plainUser.Ready());
    Run();
  }
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(w.Memo2->Text(), results);
  EXPECT_EQ(port.CallsLike({"dtr", "rts", "read", "write"}), (Calls{"rts 1", "dtr 0", "rts 0"}));
  EXPECT_EQ(port.OpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Images, UnopenableImage,
    ::testing::Values(
        UnopenableCase{"Missing", [](const QString&) {}},
        UnopenableCase{"Folder", [](const QString& path) { QDir().mkdir(path); }},
        UnopenableCase{"Unreadable",
                       [](const QString& path) {
                         QFile(path).open(QIODevice::WriteOnly);
                         chmod(QFile::encodeName(path).constData(), 0);
                       }}),
    RowName);

TEST_F(Upload, ReadOnlyImageUploads) {
  const QByteArray image = Counting(20);
  Image(image);
  chmod(QFile::encodeName(ImagePath()).constData(), 0444);
  {
    AsPlainUser plainUser;
    ASSERT_TRUE(plainUser.Ready());
    Run();
  }
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(port.written == Bytes(image));
  EXPECT_EQ(Lines(w.Memo2), (std::vector<QString>{kFirstFullLine, "0010  10 11 12 13"}));
}

struct ReadFaultCase {
  const char* name;
  int error;  // 0: the file is shortened instead
  const char* shown;
};
void PrintTo(const ReadFaultCase& row, std::ostream* out) { *out << row.name; }

class ImageReadFails : public Upload, public ::testing::WithParamInterface<ReadFaultCase> {};

TEST_P(ImageReadFails, ErrorShownByteNeitherShownNorSentPortLeftOpen) {
  const ReadFaultCase& c = GetParam();
  Image(Counting(20));
  const std::string path = ImagePath().toStdString();
  c.error == 0 ? read_fault::ShortenBefore(path, 18) : read_fault::Fail(path, 18, c.error);
  Run();
  read_fault::Clear();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.shown));
  EXPECT_EQ(Lines(w.Memo2), (std::vector<QString>{kFirstFullLine, "0010  10"}));
  EXPECT_TRUE(port.written == Bytes(Counting(17)));
  EXPECT_FALSE(HeldOpen(ImagePath()));
  EXPECT_FALSE(EndSequenceRan());
  ExpectPortLeftOpenForTheBoard();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ImageReadFails,
    ::testing::Values(
        ReadFaultCase{"ShortenedWhileSent", 0, "Versuch hinter dem Dateiende zu lesen."},
        ReadFaultCase{"DeviceError", EIO, "E/A-Fehler 1117."},
        ReadFaultCase{"OtherSystemError", EOVERFLOW, "E/A-Fehler 75."}),
    RowName);

struct PortCase {
  const char* name;
  int selected;
  std::set<std::string> present;
  std::set<std::string> refusingSettings;
  Calls opening;
  const char* shown;  // nullptr: no box
};
void PrintTo(const PortCase& row, std::ostream* out) { *out << row.name; }

class PortChoice : public Upload, public ::testing::WithParamInterface<PortCase> {};

TEST_P(PortChoice, OpensTheSelectedPortAndStopsWhenItFails) {
  const PortCase& c = GetParam();
  Image(Counting(3));
  SelectedPort = c.selected;
  port.present = c.present;
  port.refusingSettings = c.refusingSettings;
  const QString results = w.Memo2->Text();
  Run();
  EXPECT_EQ(port.CallsLike({"open", "settings"}), c.opening);
  EXPECT_EQ(port.OpenHandles(), 0u);
  EXPECT_EQ(serial::CurrentPortHandle(), serial::kNoHandle);
  if (c.shown == nullptr) {
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(port.written.size(), 3u);
    return;
  }
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QLatin1String(c.shown));
  EXPECT_EQ(w.Memo2->Text(), results);
  EXPECT_EQ(port.CallsLike({"dtr", "rts", "read", "write"}), Calls{});
  EXPECT_TRUE(w.PortHint(c.selected).contains(QLatin1String("Last test failed")));
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PortChoice,
    ::testing::Values(
        PortCase{"Com1", 1, {"COM1"}, {}, {"open COM1", "settings 9600 N 8 2"}, nullptr},
        PortCase{"Com2", 2, {"COM2"}, {}, {"open COM2", "settings 9600 N 8 2"}, nullptr},
        PortCase{"Com1Missing", 1, {"COM2"}, {}, {"open COM1", "settings refused"}, "COM1 error."},
        PortCase{"Com2Missing", 2, {"COM1"}, {}, {"open COM2", "settings refused"}, "COM2 error."},
        PortCase{"Com2RefusesTheSettings", 2, {"COM2"}, {"COM2"},
                 {"open COM2", "settings 9600 N 8 2"}, "COM2 error."}),
    RowName);

// Counts the paint events that reach a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

TEST_F(Upload, DumpGrowsInViewWhileNoInputIsTaken) {
  Image(Counting(800));
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  PaintCounter paints(w.Memo2->viewport());
  bool timerRan = false;
  QTimer::singleShot(0, [&] { timerRan = true; });
  QCoreApplication::postEvent(w.Memo1, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier,
                                                     QStringLiteral("x")));
  const QString editor = w.Memo1->toPlainText();

  struct {
    int paints;
    bool lastLineInView;
    bool timerRan;
    QString editor;
  } during{-1, false, true, QString()};
  port.beforeWrite = [&](std::size_t written) {
    if (written != 640) return;
    const QTextBlock last = w.Memo2->document()->findBlockByNumber(w.Memo2->LineCount() - 1);
    during = {paints.count,
              w.Memo2->viewport()->rect().contains(w.Memo2->cursorRect(QTextCursor(last))),
              timerRan, w.Memo1->toPlainText()};
  };
  Run();

  EXPECT_GE(during.paints, 640 / 16) << "a repaint for every address line";
  EXPECT_TRUE(during.lastLineInView);
  EXPECT_FALSE(during.timerRan) << "no other handler runs during the upload";
  EXPECT_EQ(during.editor, editor) << "no input is taken during the upload";
  QCoreApplication::processEvents();
  EXPECT_TRUE(timerRan);
  EXPECT_NE(w.Memo1->toPlainText(), editor) << "the input waited for the upload";
}

}  // namespace
