#pragma once
// The frame the two setup dialogs share: caption, font, the group boxes
// top to bottom, OK and Cancel at the bottom, a fixed border and the initial
// client size.

#include <QSize>
#include <initializer_list>

class QDialog;
class QPushButton;
class QWidget;

// Sizes the dialog to `Client`, or larger when the content needs it, and
// fixes that size.
void BuildSetupDialogFrame(QDialog& Dialog, std::initializer_list<QWidget*> Groups, QSize Client,
                           QPushButton*& OK, QPushButton*& Cancel);
