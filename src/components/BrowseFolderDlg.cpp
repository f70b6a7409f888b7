#include "components/BrowseFolderDlg.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "components/DrawUtils.h"
#include "components/FileUtils.h"

TBrowseFolderDlg::TBrowseFolderDlg(QObject* owner) : QObject(owner) {}

TBrowseFolderDlg::~TBrowseFolderDlg() = default;

bool TBrowseFolderDlg::Execute() {
  QDialog dialog(QApplication::activeWindow());
  dialog.setObjectName("BrowseFolderDlg");
  dialog.setWindowTitle(QStringLiteral("Browse for Folder"));
  auto* layout = new QVBoxLayout(&dialog);
  if (!FText.isEmpty()) {
    auto* label = new QLabel(FText, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  FModel = new QFileSystemModel(&dialog);
  FModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  FModel->setRootPath(QStringLiteral("/"));
  FTree = new QTreeView(&dialog);
  FTree->setObjectName("FolderTree");
  FTree->setModel(FModel);
  FTree->setHeaderHidden(true);
  for (int column = 1; column < FModel->columnCount(); ++column) FTree->hideColumn(column);
  layout->addWidget(FTree);
  FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(FButtons);
  connect(FButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(FButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  connect(FTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TBrowseFolderDlg::SelectionChanged);
  // Folders are read in the background: keep the selection in view as the
  // folders above it fill in.
  connect(FModel, &QFileSystemModel::directoryLoaded, this, [this] {
    if (FTree && FTree->currentIndex().isValid()) FTree->scrollTo(FTree->currentIndex(), QAbstractItemView::PositionAtCenter);
  });
  dialog.resize(340, 380);
  FHandle = &dialog;
  FSelectedName.clear();
  FButtons->button(QDialogButtonBox::Ok)->setEnabled(false);
  Initialized();

  const bool accepted = ExecFolderDialog(dialog) == QDialog::Accepted;
  const QModelIndex item = FTree->currentIndex();
  bool chosen = false;
  if (accepted && item.isValid()) {
    const QString text = FBrowseKind == bfFolders ? StripTrailingBackslash(FModel->filePath(item))
                                                  : FModel->fileName(item);
    if (!text.isEmpty()) {
      FFolderName = FSelectedName = text;
      FDisplayName = FModel->fileName(item);
      chosen = true;
    }
  }
  FHandle = nullptr;
  FTree = nullptr;
  FModel = nullptr;
  FButtons = nullptr;
  return chosen;
}

void TBrowseFolderDlg::Initialized() {
  if (FPosition == dpScreenCenter) CenterWindow(FHandle);
  if (FBrowseKind == bfComputers || IsFolder(FFolderName)) SelectPath(FFolderName);
  if (OnInitialized) OnInitialized(this);
}

void TBrowseFolderDlg::SelectPath(const QString& path) {
  if (!FTree) return;
  const QModelIndex index = path.isEmpty() ? QModelIndex() : FModel->index(path);
  FTree->setCurrentIndex(index);
  if (index.isValid()) FTree->scrollTo(index);
  else SelectionChanged();
}

void TBrowseFolderDlg::SelectionChanged() {
  if (!FTree) return;
  const QModelIndex item = FTree->currentIndex();
  bool ok = false;
  FDisplayName = item.isValid() ? FModel->fileName(item) : QString();
  if (FBrowseKind == bfFolders) {
    const QString path = item.isValid() ? FModel->filePath(item) : QString();
    FSelectedName = path;
    ok = !path.isEmpty() && IsFolder(path);
  } else {
    FSelectedName = FDisplayName;
    ok = item.isValid();
  }
  FButtons->button(QDialogButtonBox::Ok)->setEnabled(ok);
  if (OnSelChanged) OnSelChanged(this);
}

bool TBrowseFolderDlg::OkEnabled() const {
  return FButtons && FButtons->button(QDialogButtonBox::Ok)->isEnabled();
}
