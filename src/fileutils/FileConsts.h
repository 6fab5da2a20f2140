// The message texts of the file-system layer, translated when they are shown.
#pragma once

#include "Catalog.h"

namespace FileConsts {

using Catalog::TResourceString;

// File stream: the file name (a full path) and the system's text for the error.
inline constexpr TResourceString SCannotCreateFile{"Cannot create file \"%s\". %s"};
inline constexpr TResourceString SCannotOpenFile{"Cannot open file \"%s\". %s"};

// Copy engine: the file concerned.
inline constexpr TResourceString SFileNotFound{"File not found: \"%s\""};
inline constexpr TResourceString SErrorOpening{"Error opening \"%s\""};
inline constexpr TResourceString SErrorCreating{"Error creating \"%s\""};
inline constexpr TResourceString SErrorReading{"Error reading from \"%s\""};
inline constexpr TResourceString SErrorWriting{"Error writing to \"%s\""};
inline constexpr TResourceString SErrorSettingTimestamps{"Error setting timestamps of \"%s\""};
inline constexpr TResourceString SErrorSettingAttributes{"Error setting attributes of \"%s\""};

}  // namespace FileConsts
