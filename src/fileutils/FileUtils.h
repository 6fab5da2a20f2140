// The file-system layer in one include: paths, file times and attributes, the file stream, the
// copy engine and the folder operations.
#pragma once

#include "ExtFileStream.h"
#include "FileCopy.h"
#include "FileInfo.h"
#include "Folders.h"
#include "Paths.h"
