// Lossless conversion between QString and the byte names of a POSIX file system.
//
// Names are decoded as UTF-8. A byte that is not part of a valid UTF-8 sequence (a Latin-1
// name from an old archive, say) becomes the lone surrogate U+DC00 + byte and turns back into
// that very byte on the way out, so every name that the file system lists can be opened again.
#pragma once

#include <QByteArray>
#include <QString>

namespace Platform {

QString FromNativeName(const char* bytes, qsizetype length);
inline QString FromNativeName(const QByteArray& bytes) {
    return FromNativeName(bytes.constData(), bytes.size());
}
QByteArray ToNativeName(const QString& name);

}  // namespace Platform
