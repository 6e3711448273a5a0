#pragma once

namespace platform {

// Copies every extended attribute of the named file to an open one: user attributes, access control
// lists (system.posix_acl_*) and whatever else the file system keeps. True when all were copied
// or the file system keeps none; false with errno set when one could not be read or written.
bool CopyExtendedAttributes(const char* from, int toFd);

}  // namespace platform
