#pragma once
// The folder browser: a tree of the file system's folders with an
// instruction text above it, OK and Cancel. OK is enabled only while the
// selection is an existing folder.

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

#include "platform/Component.h"

class QDialogButtonBox;
class QFileSystemModel;
class QTreeView;

// bfComputers: there is no browsable network neighbourhood here; the tree
// is the same and the result is the chosen item's display name.
enum TBrowseKind : std::uint8_t { bfFolders, bfComputers };
enum TDialogPosition : std::uint8_t { dpDefault, dpScreenCenter };

class TBrowseFolderDlg : public QObject, public TComponent {
  Q_OBJECT

 public:
  explicit TBrowseFolderDlg(QObject* owner = nullptr);
  ~TBrowseFolderDlg() override;

  bool DesktopRoot() const { return FDesktopRoot; }
  void SetDesktopRoot(bool value) { FDesktopRoot = value; }
  TBrowseKind BrowseKind() const { return FBrowseKind; }
  void SetBrowseKind(TBrowseKind value) { FBrowseKind = value; }
  TDialogPosition Position() const { return FPosition; }
  void SetPosition(TDialogPosition value) { FPosition = value; }
  const QString& DialogText() const { return FText; }
  void SetDialogText(const QString& value) { FText = value; }
  // Start folder in, chosen folder out.
  const QString& FolderName() const { return FFolderName; }
  void SetFolderName(const QString& value) { FFolderName = value; }
  const QString& SelectedName() const { return FSelectedName; }
  const QString& DisplayName() const { return FDisplayName; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }

  TNotifyEvent OnInitialized;
  TNotifyEvent OnSelChanged;

  // Shows the browser modally (or through the folder dialog hook); True
  // when the user chose an item, which is then FolderName.
  bool Execute();

  // While Execute runs: the browser window, its tree and its OK button.
  QDialog* Handle() const { return FHandle; }
  QTreeView* Tree() const { return FTree; }
  // Selects `path` in the tree (as the user would).
  void SelectPath(const QString& path);
  bool OkEnabled() const;

 private:
  void Initialized();
  void SelectionChanged();

  int FHelpContext = 0;
  QPointer<QDialog> FHandle;
  QTreeView* FTree = nullptr;
  QFileSystemModel* FModel = nullptr;
  QDialogButtonBox* FButtons = nullptr;
  bool FDesktopRoot = true;
  TBrowseKind FBrowseKind = bfFolders;
  TDialogPosition FPosition = dpScreenCenter;
  QString FText;
  QString FDisplayName;
  QString FSelectedName;
  QString FFolderName;
};
