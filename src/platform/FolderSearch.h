// Listing a folder the way the platform's file search does: by a mask and an attribute set.
#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "ErrorCode.h"
#include "FileAttributes.h"

namespace Platform {

struct TSearchHit {
    QString Name;             // the entry's name, without a path
    TFileAttributeData Data;  // links followed; Attributes carries kAttrReparsePoint for a link
};

// Searches `pattern`, a folder, a path delimiter and a file mask (`ComposeFileName` of the
// folder and the mask). An entry is a hit when its name matches the mask and none of its
// hidden, system and directory bits is missing from `attributeSet`; regular files without
// those bits always qualify. "." and "..", dangling links, FIFOs, sockets and devices are never
// hits. The search is closed when the object goes.
class FolderSearch {
  public:
    FolderSearch(const QString& pattern, uint32_t attributeSet);
    ~FolderSearch();
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    // The next hit; false when there is none left.
    bool Next(TSearchHit& hit);

    // Why the folder could not be listed; 0 when it could (even with no hits).
    ErrorCode Error() const { return error_; }

  private:
    struct State;
    std::unique_ptr<State> state_;
    ErrorCode error_ = 0;
};

}  // namespace Platform
