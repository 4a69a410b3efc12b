#include "TZarn.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>

#include "FileDialog.h"
#include "FormLayout.h"
#include "HandlerGuard.h"
#include "ProgramState.h"
#include "RSCOM.h"
#include "TextPane.h"

namespace {

// The client area that gives the designed outer size of 758 x 447 with a
// sizable frame.
const QRect kDesignedWindow(29, 100, 750, 420);

template <typename Control>
Control* Make(QWidget* form, const char* name, const QString& caption) {
  auto* control = new Control(caption, form);
  control->setObjectName(QLatin1String(name));
  return control;
}

}  // namespace

TZarn::TZarn(QWidget* parent) : QWidget(parent) {
  Zarn = this;
  CreateControls();
  ConnectHandlers();
  RunGuarded([this] { FormCreate(this); });
}

TZarn::~TZarn() {
  delete OpenDialog1;
  delete SaveDialog1;
  if (Zarn == this) Zarn = nullptr;
}

void TZarn::CreateControls() {
  setObjectName(QStringLiteral("Zarn"));
  setWindowTitle(QStringLiteral("Morvane Zarn"));
  QFont windowFont(QStringLiteral("MS Sans Serif"));
  windowFont.setStyleHint(QFont::SansSerif);
  windowFont.setPixelSize(11);
  setFont(windowFont);

  ButtonOpen = Make<QPushButton>(this, "ButtonOpen", QStringLiteral("Open"));
  ButtonSave = Make<QPushButton>(this, "ButtonSave", QStringLiteral("Save"));
  ButtonSaveAs = Make<QPushButton>(this, "ButtonSaveAs", QStringLiteral("Save as"));
  ButtonCompile = Make<QPushButton>(this, "ButtonCompile", QStringLiteral("TASM"));
  ButtonRun = Make<QPushButton>(this, "ButtonRun", QStringLiteral("Run"));
  RadioButtonCOM1 = Make<QRadioButton>(this, "RadioButtonCOM1", QStringLiteral("COM1"));
  RadioButtonCOM2 = Make<QRadioButton>(this, "RadioButtonCOM2", QStringLiteral("COM2"));
  RadioButtonCOM2->setChecked(true);
  Memo1 = new TextPane(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setPlainText(QStringLiteral("Editor\n"));
  Memo2 = new TextPane(this);
  Memo2->setObjectName(QStringLiteral("Memo2"));
  Memo2->setPlainText(QStringLiteral("Results\n"));
  OpenDialog1 = new FileDialog(FileDialog::Kind::Open, this);
  SaveDialog1 = new FileDialog(FileDialog::Kind::Save, this);

  const struct {
    QWidget* control;
    QRect designed;
  } placements[] = {
      {ButtonOpen, {8, 8, 65, 25}},        {ButtonSave, {80, 8, 65, 25}},
      {ButtonSaveAs, {152, 8, 65, 25}},    {ButtonCompile, {224, 8, 65, 25}},
      {ButtonRun, {296, 8, 65, 25}},       {RadioButtonCOM1, {400, 16, 73, 9}},
      {RadioButtonCOM2, {464, 16, 65, 9}}, {Memo1, {8, 48, 297, 369}},
      {Memo2, {312, 48, 433, 369}},
  };
  const int textHeight = QFontMetrics(windowFont).height();
  QWidget* previous = nullptr;
  for (const auto& placement : placements) {
    placement.control->setGeometry(ScaledRect(placement.designed, textHeight));
    if (previous != nullptr) setTabOrder(previous, placement.control);
    previous = placement.control;
  }
  const QRect window = ScaledRect(kDesignedWindow, textHeight);
  move(kDesignedWindow.topLeft());
  resize(window.size());

  RadioButtonCOM1->installEventFilter(this);
  RadioButtonCOM2->installEventFilter(this);
}

void TZarn::ConnectHandlers() {
  connect(ButtonOpen, &QPushButton::clicked, this,
          Guarded(this, &TZarn::ButtonOpenClick, ButtonOpen));
  connect(ButtonSave, &QPushButton::clicked, this,
          Guarded(this, &TZarn::ButtonSaveClick, ButtonSave));
  connect(ButtonSaveAs, &QPushButton::clicked, this,
          Guarded(this, &TZarn::ButtonSaveAsClick, ButtonSaveAs));
  connect(ButtonCompile, &QPushButton::clicked, this,
          Guarded(this, &TZarn::ButtonCompileClick, ButtonCompile));
  connect(ButtonRun, &QPushButton::clicked, this,
          Guarded(this, &TZarn::ButtonRunClick, ButtonRun));
  // A radio button's handler runs whenever it becomes checked, by the user
  // or by the program; choosing the checked one runs nothing.
  connect(RadioButtonCOM1, &QRadioButton::toggled, this,
          [run = Guarded(this, &TZarn::RadioButtonCOM1Click, RadioButtonCOM1)](bool checked) {
            if (checked) run();
          });
  connect(RadioButtonCOM2, &QRadioButton::toggled, this,
          [run = Guarded(this, &TZarn::RadioButtonCOM2Click, RadioButtonCOM2)](bool checked) {
            if (checked) run();
          });
}

void TZarn::FormCreate(QObject*) {
  if (!OpenPortNoting(2, "COM2:19200,N,8,2")) {
    RadioButtonCOM1->setChecked(true);
    OpenPortNoting(1, "COM1:19200,N,8,2");
  }
  ClosePort();
  StartClock();
}

bool TZarn::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && (watched == RadioButtonCOM1 || watched == RadioButtonCOM2)) {
    const int port = watched == RadioButtonCOM1 ? 1 : 2;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), PortHint(port),
                       static_cast<QWidget*>(watched));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
