#pragma once
// Folder choosing and small path routines. Paths use "/" and have no drive
// letters or short (8.3) names here: the short form of a name is the name.

#include <QString>
#include <cstdint>
#include <functional>

#include "platform/EnumSet.h"

class QDialog;
class QWidget;

// Options of the classic directory dialog: offer to create a folder that
// does not exist, create it, ask before creating it.
enum TSelectDirOpt : std::uint8_t { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = TSet<TSelectDirOpt>;

// Every folder dialog of this file runs through the hook when one is set:
// it gets the dialog, ready to be shown, and returns its result
// (QDialog::Accepted or Rejected) instead of a modal loop. Tests choose a
// folder in the dialog and accept or cancel it. An empty hook restores the
// modal loop.
using TFolderDialogHook = std::function<int(QDialog& dialog)>;
void SetFolderDialogHook(TFolderDialogHook hook);
// Runs the dialog modally or through the hook.
int ExecFolderDialog(QDialog& dialog);

// The classic directory dialog ("Select Directory") started in `directory`;
// on OK `directory` is the chosen folder. A folder that does not exist can
// be chosen only with sdAllowCreate; sdPerformCreate then creates it (after
// asking, with sdPrompt).
bool SelectDirectory(QString& directory, TSelectDirOpts options, int helpContext, QWidget* parent = nullptr);

// Lets the user pick a folder in the folder browser (title `text`, start
// `folder`); on success `folder` is the chosen one.
bool BrowseForDirectory(QString& folder, const QString& text, int helpContext);

// The name exists and is a folder.
bool IsFolder(const QString& name);
// Drops one trailing "/" from a path longer than one character; "/" stays.
QString StripTrailingBackslash(const QString& path);
// The path with every entry in its long or short form. Both are the path
// itself here; an entry that does not exist keeps the name it was given.
QString LongPathName(const QString& path);
QString ShortPathName(const QString& path);
