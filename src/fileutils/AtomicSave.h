// Replacing a small file (settings, desktop entries) in one step: a crash, a kill or a full
// disk leaves the old file or the new one, never a truncated one.
#pragma once

#include <optional>

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace FileUtils {

// Writes `content` to a temporary file beside `fileName` and renames it over the file; the
// temporary file is removed on any failure. 0, or the system's error code (EIO when the
// failing call left none).
int WriteFileAtomically(const QString& fileName, const QByteArray& content,
                        std::optional<QFileDevice::Permissions> permissions = std::nullopt);

}  // namespace FileUtils
