#include "Artwork.h"

#include <QCursor>
#include <QDir>
#include <QIcon>
#include <QPixmap>

namespace orbitra {

QIcon flaskIcon() {
    // Each size is drawn for itself, so a task bar or a scaled screen picks a
    // sharp picture instead of an enlargement of the 32-pixel one.
    QIcon icon;
    const QDir art(QStringLiteral(":/art"), QStringLiteral("flask-*.png"));
    for (const QString& name : art.entryList()) {
        icon.addFile(art.filePath(name));  // the picture's own size
    }
    return icon;
}

QCursor magnifierCursor(double devicePixelRatio) {
    // The pointer is drawn at 16, 32 and 48 pixels; a screen scaled by one and a
    // half or more gets the large picture instead of a blurred enlargement.
    const bool large = devicePixelRatio >= 1.5;
    QPixmap picture(large ? QStringLiteral(":/art/magnifier-48.xpm")
                          : QStringLiteral(":/art/magnifier-32.xpm"));
    picture.setDevicePixelRatio(large ? 1.5 : 1.0);
    // The glass's centre is the hot spot: what lies under the lens is what is meant.
    return QCursor(picture, 12, 12);
}

}  // namespace orbitra
