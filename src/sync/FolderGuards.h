// What keeps a run inside its two folders: folders known by their identity (volume and index),
// not by their path, so that links and mounts cannot lead a run in circles or into the partner.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

namespace Sync {

struct TFolderId {
    uint64_t Volume = 0;
    uint64_t Index = 0;
    friend bool operator==(const TFolderId&, const TFolderId&) = default;
};

// The identity of a folder, links followed; false when it cannot be had.
bool FolderIdOf(const QString& path, TFolderId& id);

// True when the folder `outer` is `inner` or holds it, through links and mounts too: `inner`
// and every folder above it are compared with `outer` by identity.
bool ContainsFolder(const TFolderId& outer, const QString& inner);

class TFileFilter;
struct TRunTexts;

// Why a run of the pair `first` and `second` (each with a final delimiter) cannot go ahead, or
// an empty text: a folder that does not exist (an empty text names none: it never stands for
// the root), folders that hold each other (with subfolders) or are one, a filter without name
// masks. `ids` receives the two folders' identities.
QString RefuseRun(const QString& first, const QString& second, bool subfolders,
                  const QString& filterText, const TFileFilter& filter, const TRunTexts& texts,
                  TFolderId ids[2]);

// The folders on the way down from the base of a scan, and the two base folders of the pair: a
// folder that is one of them is never entered (it would loop, or scan the partner again).
class TScanPath {
  public:
    TScanPath(const TFolderId& first, const TFolderId& second) : bases_{first, second} {}

    // False when `id` must not be entered; else it is now on the path.
    bool Enter(const TFolderId& id);
    void Leave() { path_.pop_back(); }

  private:
    TFolderId bases_[2];
    std::vector<TFolderId> path_;
};

}  // namespace Sync
