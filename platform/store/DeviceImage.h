// The process's device image: the object store's databases and the registry
// live in it. The database and registry calls use the image opened here.
#pragma once

#include <string>

namespace store {

// Opens the image for this process. A file that is not a device image, is
// damaged or of a newer format is refused with a one-line reason and left
// untouched. A read-only file opens read-only, and so does any file when
// readOnly is asked for: every write then fails with ERROR_ACCESS_DENIED.
bool openDeviceImage(const std::string& path, std::string& error, bool readOnly = false);
void closeDeviceImage();

// Writes the realistic sample image to a new file at path.
bool writeSampleImage(const std::string& path, std::string& error);

}  // namespace store
