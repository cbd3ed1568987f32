#include "Artwork.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace orbitra {

QIcon flaskIcon() {
    return QIcon(QPixmap(QStringLiteral(":/art/flask.xpm")));
}

QCursor magnifierCursor() {
    // The glass's centre is the hot spot: what lies under the lens is what is meant.
    const QPixmap picture(QStringLiteral(":/art/magnifier-32.xpm"));
    return QCursor(picture, 12, 12);
}

}  // namespace orbitra
