#include "platform/Registry.h"

#include <QSettings>
#include <QStandardPaths>

namespace platform {

namespace {

QString& RootFolder() {
  static QString folder;
  return folder;
}

// Values are stored with their kind in front, as the registry keeps it.
const QString kStringTag = QStringLiteral("sz:");
const QString kIntegerTag = QStringLiteral("dword:");
// Marks a key that exists without values.
const QString kKeyMarker = QStringLiteral(".key");

QString Normalise(const QString& key) {
  QString k = key;
  k.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (k.startsWith(QLatin1Char('/'))) k.remove(0, 1);
  while (k.endsWith(QLatin1Char('/'))) k.chop(1);
  return k;
}

}  // namespace

void Registry::SetStorageRoot(const QString& folder) { RootFolder() = folder; }

QString Registry::StorageRoot() {
  if (!RootFolder().isEmpty()) return RootFolder();
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Telquin");
}

QString Registry::RootFile(Root root) {
  return StorageRoot() +
         (root == LocalMachine ? QStringLiteral("/LocalMachine.ini") : QStringLiteral("/CurrentUser.ini"));
}

Registry::Registry(Root root) : FRoot(root) { SetRootKey(root); }

Registry::~Registry() { Flush(); }

void Registry::SetRootKey(Root root) {
  if (FStore) FStore->sync();
  CloseKey();
  FRoot = root;
  FStore = std::make_unique<QSettings>(RootFile(root), QSettings::IniFormat);
}

QString Registry::GroupOf(const QString& key) const {
  const QString k = Normalise(key);
  if (key.startsWith(QLatin1Char('\\')) || FGroup.isEmpty()) return k;
  return k.isEmpty() ? FGroup : FGroup + QLatin1Char('/') + k;
}

bool Registry::KeyExists(const QString& key) {
  const QString group = Normalise(key);
  if (group.isEmpty()) return true;
  FStore->beginGroup(group);
  const bool exists = !FStore->childKeys().isEmpty() || !FStore->childGroups().isEmpty();
  FStore->endGroup();
  return exists;
}

bool Registry::OpenKey(const QString& key, bool canCreate) {
  const QString group = GroupOf(key);
  CloseKey();
  if (!KeyExists(group)) {
    if (!canCreate || group.isEmpty()) return false;
    FStore->setValue(group + QLatin1Char('/') + kKeyMarker, QString());
  }
  FGroup = group;
  FCurrentPath = QString(group).replace(QLatin1Char('/'), QLatin1Char('\\'));
  FOpen = true;
  FReadOnly = false;
  return true;
}

bool Registry::OpenKeyReadOnly(const QString& key) {
  const QString group = GroupOf(key);
  CloseKey();
  if (!KeyExists(group)) return false;
  FGroup = group;
  FCurrentPath = QString(group).replace(QLatin1Char('/'), QLatin1Char('\\'));
  FOpen = true;
  FReadOnly = true;
  return true;
}

void Registry::CloseKey() {
  if (FStore && FOpen && !FReadOnly) FStore->sync();
  FOpen = false;
  FReadOnly = false;
  FGroup.clear();
  FCurrentPath.clear();
}

bool Registry::ValueExists(const QString& name) const {
  return FOpen && FStore->contains(FGroup + QLatin1Char('/') + name);
}

QStringList Registry::GetValueNames() const {
  if (!FOpen) return {};
  FStore->beginGroup(FGroup);
  QStringList names = FStore->childKeys();
  FStore->endGroup();
  names.removeAll(kKeyMarker);
  return names;
}

bool Registry::DeleteValue(const QString& name) {
  if (!FOpen || FReadOnly || !ValueExists(name)) return false;
  FStore->remove(FGroup + QLatin1Char('/') + name);
  return true;
}

bool Registry::WriteString(const QString& name, const QString& value) {
  if (!FOpen || FReadOnly || !FStore->isWritable()) return false;
  FStore->setValue(FGroup + QLatin1Char('/') + name, kStringTag + value);
  return true;
}

bool Registry::WriteInteger(const QString& name, qint32 value) {
  if (!FOpen || FReadOnly || !FStore->isWritable()) return false;
  FStore->setValue(FGroup + QLatin1Char('/') + name, kIntegerTag + QString::number(value));
  return true;
}

QString Registry::ReadString(const QString& name) const {
  if (!FOpen) return {};
  const QString raw = FStore->value(FGroup + QLatin1Char('/') + name).toString();
  return raw.startsWith(kStringTag) ? raw.mid(kStringTag.size()) : QString();
}

std::optional<qint32> Registry::ReadInteger(const QString& name) const {
  if (!FOpen) return std::nullopt;
  const QString raw = FStore->value(FGroup + QLatin1Char('/') + name).toString();
  if (!raw.startsWith(kIntegerTag)) return std::nullopt;
  bool ok = false;
  const qint32 v = raw.mid(kIntegerTag.size()).toInt(&ok);
  if (!ok) return std::nullopt;
  return v;
}

bool Registry::Flush() {
  if (!FStore) return true;
  FStore->sync();
  return FStore->status() == QSettings::NoError;
}

}  // namespace platform
