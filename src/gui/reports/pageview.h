#pragma once
// The pages of a report one below the other, as a print preview shows them: painted by the
// report engine's paintPage at the chosen zoom, only the pages in view (a season's
// statistics of some thousand pages opens at once), with the last few pages kept as
// pictures so scrolling does not paint them again.
#include <QAbstractScrollArea>
#include <QPixmap>

#include <list>
#include <memory>

namespace vemora::report {
class ReportDocument;
}

namespace vemora::gui {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class ZoomMode { FitWidth, FitPage, Factor };

    explicit PageView(QWidget* parent = nullptr);
    void setDocument(std::shared_ptr<const report::ReportDocument> doc);

    int pageCount() const;
    // The page in the middle of the view (0-based); the page gone to, until the user scrolls.
    int currentPage() const { return current_; }
    // Scrolls the page's top edge to the top of the view.
    void setCurrentPage(int index);

    ZoomMode zoomMode() const { return mode_; }
    // 1.0 shows the paper at its real size on the screen.
    double zoomFactor() const;
    void setZoomMode(ZoomMode mode);
    void setZoomFactor(double factor);

    // The page's rectangle in the viewport's coordinates.
    QRect pageRect(int index) const;

signals:
    void currentPageChanged(int index);
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    static constexpr int kGap = 12;
    double pixelsPerMm() const;
    QSize pageSize() const;
    void relayout();
    void updateCurrentFromScroll();
    const QPixmap& pagePixmap(int index, const QSize& size);

    std::shared_ptr<const report::ReportDocument> doc_;
    ZoomMode mode_ = ZoomMode::FitWidth;
    double factor_ = 1.0;
    int current_ = 0;
    bool scrolling_ = false;  // a scroll made by setCurrentPage, which keeps its page current
    struct Cached {
        int index;
        QPixmap pixmap;
    };
    std::list<Cached> cache_;
};

}  // namespace vemora::gui
