#pragma once
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace vemora::gui {

// The start-up window: program name, version, release date, the federation, a picture and
// the progress bar that runs over the first five seconds.
class Splash : public QWidget {
    Q_OBJECT
public:
    Splash(const QString& federation, const QString& pictureFile, QWidget* parent = nullptr);
    QProgressBar* status() const { return status_; }
    QLabel* image() const { return image_; }
    QLabel* lblForbund() const { return forbund_; }

private:
    QLabel* image_;
    QLabel* forbund_;
    QProgressBar* status_;
};

// Sets the bar to the milliseconds since the start tick (capped at its maximum) and lets
// the user interface process pending events.
void SplashProgress(Splash* splash, const QElapsedTimer& startTick);

}  // namespace vemora::gui
