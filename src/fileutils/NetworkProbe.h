// Whether this system can browse network shares, and the folder in which they appear. On Linux
// the network client counts as enabled when there is such a folder: the user's GVfs folder, or
// else the folder that holds the mount points of mounted network file systems.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace NetworkProbe {

// The optional feature that stands for browsing the network.
inline constexpr const char* kNetworkClientFeature = "SMB1Protocol-Client";

// True only for a feature the system reports enabled. On Linux the one feature known is the
// network client, enabled exactly when NetworkFolder() names a folder.
bool IsOptionalFeatureEnabled(const QString& featureName);

// IsOptionalFeatureEnabled of the network client.
bool IsNetworkClientEnabled();

// The folder in which network shares appear, empty when there is none: the user's GVfs folder
// when it exists, else the deepest folder that holds every mounted network file system (the
// mount point itself when there is one). Each call probes anew and reads the mount table once;
// no share is asked anything, so an unreachable server cannot make the probe hang.
QString NetworkFolder();

// The steps of NetworkFolder, for callers and tests that bring their own sources.
// $XDG_RUNTIME_DIR/gvfs, else /run/user/<uid>/gvfs; whether it exists is not checked.
QString GvfsFolder();
// The mount points of network file systems (NFS, SMB/CIFS, SSHFS, WebDAV, FTP, AFS, Ceph,
// GlusterFS, rclone) in a mount table of the /proc/self/mounts format, in table order.
QStringList NetworkMountPoints(const QByteArray& mountTable);
QString FindNetworkFolder(const QString& gvfsFolder, const QByteArray& mountTable);

// The mount table NetworkFolder reads: /proc/self/mounts unless a test names another file; an
// empty name restores the system's table.
void SetMountTableFile(const QString& fileName);

}  // namespace NetworkProbe
