#include "app/ui/SvgPixmap.h"

#include <QPainter>
#include <QSvgRenderer>

static void InitPictureResources() {
    Q_INIT_RESOURCE(appui);
}

namespace tuji {

QPixmap SvgPixmap(const char* name, QSize size, qreal pixelRatio) {
    InitPictureResources();
    QPixmap pixmap(size * pixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(":/tuji/images/" + QString::fromUtf8(name));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

} // namespace tuji
