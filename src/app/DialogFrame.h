#pragma once
// The frame of the program's small dialogs: caption, the group boxes top to
// bottom, OK (default) and Cancel at the bottom, a fixed border and the
// initial client size (larger when the content needs it).

#include <QSize>
#include <QString>
#include <initializer_list>

class QDialog;
class QFont;
class QPushButton;
class QWidget;

// Font: the dialog's own font, or nullptr for the frame's default.
void BuildDialogFrame(QDialog& Dialog, const QString& Caption,
                      std::initializer_list<QWidget*> Groups, QSize Client, QPushButton*& OK,
                      QPushButton*& Cancel, const QFont* Font = nullptr);
