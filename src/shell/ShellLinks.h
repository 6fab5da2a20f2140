// Reading shell links, the folder shortcuts' pointers to their targets. On Linux a shell link
// is a symbolic link.
#pragma once

#include <QString>

namespace ShellLinks {

inline constexpr int kLinkRead = 0;
inline constexpr int kLinkFileMissing = 2;
inline constexpr int kNotALink =
    -1;  // an existing file that is no link; other failures give -errno

// Reads the link's target as it is stored: environment references unexpanded, a relative
// target relative. Arguments, description and working folder are always empty and RunAsAdmin
// false on Linux. Every output is emptied first. Answers one of the statuses above; a
// dangling link exists and is read.
int ReadShellLink(const QString& fileName, QString& target, QString& arguments, bool& runAsAdmin,
                  QString& description, QString& workingFolder);

// The same without the administrator flag: true when the status is not negative, so a
// missing file gives true with empty outputs.
bool ReadShellLink(const QString& fileName, QString& target, QString& arguments,
                   QString& description, QString& workingFolder);

}  // namespace ShellLinks
