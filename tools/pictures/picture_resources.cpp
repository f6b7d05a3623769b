// Registers the embedded pictures with Qt's resource system.
#include "picture_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterPictures() { Q_INIT_RESOURCE(kanuvo_pictures); }

namespace kanuvo {

void InitPictureResources() {
    static const bool registered = (RegisterPictures(), true);
    (void)registered;
}

}  // namespace kanuvo
