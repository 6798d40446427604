#include "gui/app/splash.h"

#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vemora::gui {

// The designed picture: drawn here so the program needs no picture file of its own.
static QPixmap designedPicture() {
    QPixmap pm(360, 150);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, 150);
    g.setColorAt(0, QColor(24, 72, 128));
    g.setColorAt(1, QColor(120, 170, 220));
    p.fillRect(pm.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    // A stylised bird in flight.
    QPainterPath bird;
    bird.moveTo(60, 85);
    bird.cubicTo(90, 40, 130, 45, 150, 80);
    bird.cubicTo(170, 45, 215, 40, 240, 85);
    bird.cubicTo(205, 70, 170, 80, 150, 100);
    bird.cubicTo(130, 80, 95, 70, 60, 85);
    p.drawPath(bird);
    p.setPen(Qt::white);
    QFont f("DejaVu Sans", 22, QFont::Bold);
    p.setFont(f);
    p.drawText(QRect(0, 100, 360, 45), Qt::AlignCenter, "Vemora");
    return pm;
}

Splash::Splash(const QString& federation, const QString& pictureFile, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
    setObjectName("Splash");
    setWindowTitle("Vemora");
    auto* lay = new QVBoxLayout(this);
    image_ = new QLabel(this);
    image_->setObjectName("Image1");
    image_->setAlignment(Qt::AlignCenter);
    QPixmap pic = designedPicture();
    if (!pictureFile.isEmpty()) {
        QImage img = QImageReader(pictureFile).read();
        if (!img.isNull()) pic = QPixmap::fromImage(img);  // a file that is no picture: the designed one stays
    }
    image_->setPixmap(pic);
    lay->addWidget(image_);
    auto* title = new QLabel("Vemora", this);
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 6);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);
    lay->addWidget(title);
    forbund_ = new QLabel(federation, this);
    forbund_->setObjectName("lblForbund");
    forbund_->setAlignment(Qt::AlignCenter);
    lay->addWidget(forbund_);
    auto* version = new QLabel("Version 4.0", this);
    version->setAlignment(Qt::AlignCenter);
    lay->addWidget(version);
    auto* released = new QLabel("Frigivet d. 21-05-2014", this);
    released->setAlignment(Qt::AlignCenter);
    lay->addWidget(released);
    status_ = new QProgressBar(this);
    status_->setObjectName("Status");
    status_->setRange(0, 5000);
    status_->setTextVisible(false);
    lay->addWidget(status_);
}

void SplashProgress(Splash* splash, const QElapsedTimer& startTick) {
    if (splash) {
        qint64 ms = startTick.elapsed();
        splash->status()->setValue(static_cast<int>(std::min<qint64>(ms, splash->status()->maximum())));
    }
    QApplication::processEvents();
}

}  // namespace vemora::gui
