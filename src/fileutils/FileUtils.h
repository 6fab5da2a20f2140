// The file-system layer in one include: paths, file times and attributes, the file stream and
// the copy engine.
#pragma once

#include "ExtFileStream.h"
#include "FileCopy.h"
#include "FileInfo.h"
#include "Paths.h"
