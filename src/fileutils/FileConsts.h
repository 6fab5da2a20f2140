// The message texts of the file-system layer, translated when they are shown.
#pragma once

#include "Catalog.h"

namespace FileConsts {

using Catalog::ResourceString;
using Catalog::TResourceString;

// File stream: the file name (a full path) and the system's text for the error.
inline constexpr TResourceString SCannotCreateFile =
    ResourceString("Cannot create file \"%s\". %s");
inline constexpr TResourceString SCannotOpenFile = ResourceString("Cannot open file \"%s\". %s");

// Copy engine: the file concerned.
inline constexpr TResourceString SFileNotFound = ResourceString("File not found: \"%s\"");
inline constexpr TResourceString SErrorOpening = ResourceString("Error opening \"%s\"");
inline constexpr TResourceString SErrorCreating = ResourceString("Error creating \"%s\"");
inline constexpr TResourceString SErrorReading = ResourceString("Error reading from \"%s\"");
inline constexpr TResourceString SErrorWriting = ResourceString("Error writing to \"%s\"");
inline constexpr TResourceString SErrorSettingTimestamps =
    ResourceString("Error setting timestamps of \"%s\"");
inline constexpr TResourceString SErrorSettingAttributes =
    ResourceString("Error setting attributes of \"%s\"");

// Reasons of the copy engine's own, beside the system's texts.
inline constexpr TResourceString SChangedWhileCopied =
    ResourceString("The file changed while it was being copied");
inline constexpr TResourceString STimeNotKept =
    ResourceString("The file system did not keep the file's time");
inline constexpr TResourceString STargetChanged =
    ResourceString("The target changed after it was compared");
inline constexpr TResourceString SNameTaken =
    ResourceString("The target name is taken, perhaps by a name that differs only in case");

}  // namespace FileConsts
