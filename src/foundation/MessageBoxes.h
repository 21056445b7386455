// The program's message helpers: an OK box and a Yes/No box that any thread may call (shown on
// the GUI thread through the installed MessageService), and the log line every handler writes.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Shows "\n" + text with one button "OK"; returns when the user has closed it. Nothing is shown
// while no message service is installed (before the main window exists).
void Show_MessageBox(const QString &text);
// The same in a box titled with what it is about ("Save"), for a failure the text explains.
void Show_TitledMessageBox(const QString &title, const QString &text);

// Shows text with the buttons "Yes" (default) and "No"; returns this call's own answer (true for
// Yes) and also leaves it in yes_no_msg_val. Without a message service nothing is shown and the
// previous yes_no_msg_val answers.
bool Show_YES_NO_MessageBox(const QString &text);
// The same question where Yes would cost work (another's file replaced): "No" is the default, so
// a stray Return keeps it; Escape and closing the box answer No too. Without a message service
// the answer is No.
bool Ask_YES_NO_Keeping(const QString &text);
// The buttons of both: "&Yes", "&No".
QStringList yesNoButtons();

// The question asked before a design with unsaved changes is replaced or the program ends.
enum class SaveAnswer { Save, DontSave, Cancel };
// Shows text with "Save" (default), "Don't Save" and "Cancel"; Escape and closing the box answer
// Cancel. Without a message service nothing is shown and the answer is Don't Save.
SaveAnswer Ask_Save_Changes(const QString &text);
// Asks the question and settles it: true when the caller may go on (Don't Save, or Save and
// `save` succeeded), false for Cancel or a save that did not happen.
bool settleUnsavedChanges(const QString &question, const std::function<bool()> &save);
// The buttons' texts, in the order of SaveAnswer.
QStringList saveAnswerButtons();

// Writes text to the log when it is neither null nor empty.
void Show_NSLog_Message(const QString &text);
