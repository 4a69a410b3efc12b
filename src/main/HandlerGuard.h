#pragma once

#include <QString>
#include <functional>

class QObject;

// Runs one handler. An exception that escapes it ends the handler and is
// shown in the error box; the program goes on.
void RunGuarded(const std::function<void()>& handler);

// Binds a form's handler, with the control that raises the event, to a
// slot that runs it guarded.
template <typename Form>
auto Guarded(Form* form, void (Form::*handler)(QObject*), QObject* sender) {
  return [form, handler, sender] { RunGuarded([&] { (form->*handler)(sender); }); };
}

// The modal error box: the message with its full stop, the program's
// title, an OK button and the stop icon. Ctrl+C copies it as text.
void ShowErrorBox(const QString& message);

// What Ctrl+C puts on the clipboard for an error box.
QString ErrorBoxAsText(const QString& title, const QString& text);

// A full stop is added unless the message is empty or ends in "." or a
// character that sorts before it.
QString WithFullStop(const QString& message);

// The program file's name without folder, cut at its first ".", with
// the first letter upper-case and the others lower-case.
QString TitleFromProgramFile(const QString& programFile);
