#pragma once
// A file that grows line by line and is complete on disk after every line:
// each Append opens the file (creating it when missing), writes at its end and
// closes it again, so no handle is held between writes and another program
// may read, copy or move the file at any time. Kept to the bare system calls:
// a measurement log appends thousands of lines a second.

#include <QByteArray>
#include <QString>
#include <string_view>

namespace platform {

class AppendFile {
 public:
  AppendFile() = default;
  explicit AppendFile(const QString& name) { SetName(name); }

  const QString& Name() const { return FName; }
  void SetName(const QString& name);

  // False when the file cannot be opened or not all bytes were written;
  // `error` then gets the system's reason.
  bool Append(std::string_view bytes, QString* error = nullptr) const;

 private:
  QString FName;
  QByteArray FNativeName;  // encoded once, not per line
};

}  // namespace platform
