// A temporary folder for file-system tests, with helpers that write files and stamp times.
#pragma once

#include <sys/types.h>
#include <ctime>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

class TempFolder {
  public:
    TempFolder();
    // A temporary folder inside `base` (a folder on a file system of the test's choice).
    explicit TempFolder(const QString& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing "/".
    QString Path() const;
    // The folder joined with a relative name.
    QString operator/(const QString& relative) const;

    // Writes `content` to the relative name, creating its folders; returns the full path.
    QString WriteFile(const QString& relative, const QByteArray& content);
    QString WriteFile(const QString& relative, const QByteArray& content, time_t mtimeSeconds,
                      long nanoseconds = 0);
    QString MakeFolder(const QString& relative);

  private:
    QTemporaryDir dir_;
};

// A folder on tmpfs, which stores every time from the year 1 to far beyond 9999; empty when
// the machine has none.
QString MemoryFolder();

// Reading and stamping files by full path; names go through the platform's conversion so
// names that are not UTF-8 work too.
QByteArray ReadAll(const QString& path);
void AppendFile(const QString& path, const QByteArray& content);
void SetModificationTime(const QString& path, time_t seconds, long nanoseconds = 0);
timespec ModificationTime(const QString& path);
mode_t Permissions(const QString& path);
bool Exists(const QString& path);  // any kind of entry, links not followed
// The names in a folder, sorted.
QStringList Entries(const QString& folder);

}  // namespace TestSupport
