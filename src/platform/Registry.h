#pragma once
// The settings store, laid out as a registry: keys with string values and
// 32-bit integer values under two roots, the current user and the local
// machine. Each root is one INI file (QSettings) below the storage root, which
// is the user's config folder + "/Telquin" unless redirected (tests redirect
// it to a temporary folder). String and integer values are kept apart, so that
// reading an integer that is missing, or that was written as a string, is
// detected.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace platform {

class Registry {
 public:
  enum Root { CurrentUser, LocalMachine };

  static void SetStorageRoot(const QString& folder);
  static QString StorageRoot();
  // The file that holds one root (for tests and diagnostics).
  static QString RootFile(Root root);

  explicit Registry(Root root = CurrentUser);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  Root RootKey() const { return FRoot; }
  void SetRootKey(Root root);

  // Key paths use "\" between the parts ("Software\Telquin\ComPort"); a
  // leading "\" is ignored. Without canCreate a key exists only when it was
  // created before or holds values.
  bool OpenKey(const QString& key, bool canCreate);
  bool OpenKeyReadOnly(const QString& key);
  void CloseKey();
  QString CurrentPath() const { return FCurrentPath; }
  bool KeyExists(const QString& key);

  bool ValueExists(const QString& name) const;
  QStringList GetValueNames() const;
  bool DeleteValue(const QString& name);

  // Writes report false when no key is open, the key is read-only or the
  // store cannot be written.
  bool WriteString(const QString& name, const QString& value);
  bool WriteInteger(const QString& name, qint32 value);
  // A missing string reads as the empty text.
  QString ReadString(const QString& name) const;
  // A missing integer (or a value of the other kind) gives no value.
  std::optional<qint32> ReadInteger(const QString& name) const;

  // Writes pending changes to the file; false when that failed.
  bool Flush();

 private:
  QString GroupOf(const QString& key) const;
  Root FRoot;
  std::unique_ptr<QSettings> FStore;
  QString FCurrentPath;
  QString FGroup;
  bool FOpen = false;
  bool FReadOnly = false;
};

}  // namespace platform
