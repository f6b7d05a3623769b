// SPDX-License-Identifier: MIT
// Access to the game's pictures embedded in the executable as ":/pictures/<id>.bmp" (and "<id>@2x.bmp"
// at twice the size), and to the program's icons as ":/icons/<side>.png".
#pragma once

#include <QIcon>

namespace kanuvo {

// Registers the embedded pictures and icons; call once before loading any of them. A static library's
// resources are not registered by themselves, since the linker may drop their unreferenced object.
void InitPictureResources();

// The program's icon at every size it is drawn at, read from its files whenever a size is asked for.
QIcon WindowIcon();

}  // namespace kanuvo
