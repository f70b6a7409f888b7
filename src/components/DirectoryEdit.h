#pragma once
// A folder-name edit whose button opens a folder dialog started at the
// folder in the text; the chosen folder replaces the text (or is appended
// after ";" with MultipleDirs).

#include "components/FileDirEdit.h"
#include "components/FileUtils.h"

// dkClassic: the directory dialog; dkWin32: the folder browser.
enum TDirDialogKind : std::uint8_t { dkClassic, dkWin32 };

class TDirectoryEdit : public TFileDirEdit {
  Q_OBJECT

 public:
  explicit TDirectoryEdit(QWidget* parent = nullptr);

  TSelectDirOpts DialogOptions() const { return FOptions; }
  void SetDialogOptions(TSelectDirOpts value) { FOptions = value; }
  const QString& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const QString& value) { FInitialDir = value; }
  const QString& DialogText() const { return FDialogText; }
  void SetDialogText(const QString& value) { FDialogText = value; }
  TDirDialogKind DialogKind() const { return FDialogKind; }
  void SetDialogKind(TDirDialogKind value) { FDialogKind = value; }

  // With MultipleDirs each folder between the ";" on its own.
  QString LongName() const override;
  QString ShortName() const override;

 protected:
  void ButtonClick() override;
  // An existing file gives its folder; anything else is taken as it is.
  void ReceptFileDir(const QString& name) override;

 private:
  void TakeFolder(const QString& folder);
  QString ConvertParts(QString (*convert)(const QString&)) const;

  TSelectDirOpts FOptions;
  QString FInitialDir;
  QString FDialogText;
  TDirDialogKind FDialogKind = dkClassic;
};
