#include "gui/app/icon.h"

namespace vemora::gui {

QIcon programIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64, 128, 256}) i.addFile(QString(":/vemora/icons/vemora-%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return icon;
}

}  // namespace vemora::gui
