// Access to the game's pictures embedded in the executable as ":/pictures/<id>.bmp".
#pragma once

namespace kanuvo {

// Registers the embedded pictures; call once before loading any of them. A static library's
// resources are not registered by themselves, since the linker may drop their unreferenced object.
void InitPictureResources();

}  // namespace kanuvo
