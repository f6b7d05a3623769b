// Registers the embedded pictures and icons with Qt's resource system.
#include "picture_resources.h"

#include <QDir>
#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterPictures() {
    Q_INIT_RESOURCE(kanuvo_pictures);
    Q_INIT_RESOURCE(kanuvo_sharp_pictures);
    Q_INIT_RESOURCE(kanuvo_icons);
}

namespace kanuvo {

void InitPictureResources() {
    static const bool registered = (RegisterPictures(), true);
    (void)registered;
}

QIcon WindowIcon() {
    InitPictureResources();
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    // Picked by their ending rather than by a name filter, which would build a regular expression
    // and bring the whole regular-expression engine into memory for a handful of names.
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (name.endsWith(QLatin1String(".png"))) icon.addFile(folder.filePath(name));
    }
    return icon;
}

}  // namespace kanuvo
