#pragma once
// A combo edit for file or folder names: its button shows the folder
// picture, and with AcceptFiles it takes names dragged from the desktop's
// file manager.

#include <QString>
#include <functional>

#include "components/CustomComboEdit.h"

// Before and after a dialog: the name (in and out) and whether to go on.
using TExecOpenDialogEvent = std::function<void(TObject* Sender, QString& AName, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
  Q_OBJECT

 public:
  explicit TFileDirEdit(QWidget* parent = nullptr);

  bool AcceptFiles() const { return FAcceptFiles; }
  void SetAcceptFiles(bool value);
  bool MultipleDirs() const { return FMultipleDirs; }
  void SetMultipleDirs(bool value) { FMultipleDirs = value; }

  TNotifyEvent OnDropFiles;
  TExecOpenDialogEvent OnBeforeDialog;
  TExecOpenDialogEvent OnAfterDialog;

  // Takes dropped names in order (only the first without MultipleDirs),
  // then OnDropFiles.
  void DropFiles(const QStringList& names);

  virtual QString LongName() const { return text(); }
  virtual QString ShortName() const { return text(); }

  // The folder picture of the file and folder edits, shared by all of them.
  static QImage FileEditGlyph();

 protected:
  QImage DefaultGlyph() const override { return FileEditGlyph(); }
  // Takes one dropped name.
  virtual void ReceptFileDir(const QString& name) {}
  virtual void ClearFileList() {}

  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Accepts a drag that carries local file names while AcceptFiles is on.
  bool AcceptFileDrag(QDragMoveEvent* event);

  bool FAcceptFiles = false;
  bool FMultipleDirs = false;
};
