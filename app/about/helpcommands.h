#pragma once

class QString;
class QWidget;

// The tags of the Help menu's commands, which share one handler.
enum class THelpTag { Email = 31, HomePage = 32, About = 33 };

// Opens a mail link or web address with the desktop's default program. A
// desktop without one opens nothing, and the program says nothing either.
void OpenLink(const QString& link);

// The handler of Help > E-Mail, Home Page and About, told apart by the
// command's tag; other tags do nothing. About shows a new about dialog over
// `parent`, modally, and frees it when it closes.
void actHelpAboutExecute(int tag, QWidget* parent);
