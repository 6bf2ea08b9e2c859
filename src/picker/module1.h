// The icon preview: the large icon the shell shows for a file, as a picture.
#pragma once

#include <windows.h>

#include <string>

#include "picker/image_control.h"

namespace picker {

// Gets the shell's large icon for `path` (spaces around it ignored), loaded at the large
// icon size for `myImage`'s DPI so it is drawn pixel for pixel, and makes it the picture
// of `myImage`; the picture owns the icon and destroys it when released. When no picture
// can be made the image is left empty. The shell decodes icon files and programs itself
// without checking them, so the file is checked first, as the icon chooser checks it; one
// that fails shows "No preview" and the reason instead of the shell's icon.
void ShowFileIcon(std::wstring path, ImageControl& myImage);

}  // namespace picker
