#include "gui/app/removable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vemora::gui {

namespace {

#ifndef Q_OS_WIN
// The kernel marks a removable disk in /sys/class/block/<disk>/removable; a partition's own
// directory lacks the mark, so its disk (the parent directory) is asked. Sticks that call
// themselves fixed disks still hang below a USB controller.
bool removableDevice(const QString& device) {
    if (!device.startsWith("/dev/")) return false;
    QString name = QFileInfo(device).canonicalFilePath().mid(5);
    QString sys = QFileInfo("/sys/class/block/" + name).canonicalFilePath();
    if (sys.isEmpty()) return false;
    for (QString dir : {sys, QFileInfo(sys).path()}) {
        QFile f(dir + "/removable");
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() == "1") return true;
    }
    return sys.contains("/usb");
}
#endif

}  // namespace

bool IsRemovableRoot(const QString& path) {
    if (path.isEmpty()) return false;
    QString abs = QDir::cleanPath(QDir(path).absolutePath());
    QStorageInfo vol(abs);
    if (!vol.isValid() || QDir::cleanPath(vol.rootPath()) != abs) return false;
#ifdef Q_OS_WIN
    return GetDriveTypeW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(vol.rootPath()).utf16())) ==
           DRIVE_REMOVABLE;
#else
    return removableDevice(QString::fromLocal8Bit(vol.device()));
#endif
}

}  // namespace vemora::gui
