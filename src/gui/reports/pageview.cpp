#include "gui/reports/pageview.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "report/document.h"

namespace vemora::gui {

namespace {

constexpr size_t kCachedPages = 6;
constexpr double kMinZoom = 0.1, kMaxZoom = 8.0;

}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("Sider");
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    viewport()->setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
}

void PageView::setDocument(std::shared_ptr<const report::ReportDocument> doc) {
    doc_ = std::move(doc);
    cache_.clear();
    current_ = 0;
    relayout();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit currentPageChanged(0);
}

int PageView::pageCount() const { return doc_ ? doc_->pageCount() : 0; }

double PageView::pixelsPerMm() const {
    if (!doc_) return 1;
    const QSizeF paper = doc_->pageSizeMm();
    const double width = std::max(1, viewport()->width() - 2 * kGap);
    const double height = std::max(1, viewport()->height() - 2 * kGap);
    switch (mode_) {
        case ZoomMode::FitWidth: return width / paper.width();
        case ZoomMode::FitPage: return std::min(width / paper.width(), height / paper.height());
        case ZoomMode::Factor: break;
    }
    return factor_ * logicalDpiX() / 25.4;
}

double PageView::zoomFactor() const { return pixelsPerMm() * 25.4 / logicalDpiX(); }

QSize PageView::pageSize() const {
    if (!doc_) return {};
    const QSizeF paper = doc_->pageSizeMm();
    const double s = pixelsPerMm();
    return QSize(std::max(1, static_cast<int>(std::lround(paper.width() * s))),
                 std::max(1, static_cast<int>(std::lround(paper.height() * s))));
}

QRect PageView::pageRect(int index) const {
    const QSize ps = pageSize();
    const int contentWidth = ps.width() + 2 * kGap;
    int x = kGap - horizontalScrollBar()->value();
    if (contentWidth < viewport()->width()) x = (viewport()->width() - ps.width()) / 2;
    const int y = kGap + index * (ps.height() + kGap) - verticalScrollBar()->value();
    return QRect(QPoint(x, y), ps);
}

void PageView::relayout() {
    const QSize ps = pageSize();
    const int n = pageCount();
    const int contentHeight = n ? kGap + n * (ps.height() + kGap) : 0;
    const int contentWidth = ps.width() + 2 * kGap;
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setRange(0, std::max(0, contentHeight - viewport()->height()));
    v->setPageStep(viewport()->height());
    v->setSingleStep(std::max(1, ps.height() / 20));
    h->setRange(0, std::max(0, contentWidth - viewport()->width()));
    h->setPageStep(viewport()->width());
    h->setSingleStep(20);
}

void PageView::setCurrentPage(int index) {
    if (!doc_ || pageCount() == 0) return;
    index = std::clamp(index, 0, pageCount() - 1);
    scrolling_ = true;
    verticalScrollBar()->setValue(index * (pageSize().height() + kGap));
    scrolling_ = false;
    if (index != current_) {
        current_ = index;
        emit currentPageChanged(current_);
    }
}

void PageView::updateCurrentFromScroll() {
    if (scrolling_ || pageCount() == 0) return;
    const int step = pageSize().height() + kGap;
    const int middle = verticalScrollBar()->value() + viewport()->height() / 2;
    const int index = std::clamp((middle - kGap / 2) / std::max(1, step), 0, pageCount() - 1);
    if (index != current_) {
        current_ = index;
        emit currentPageChanged(current_);
    }
}

void PageView::setZoomMode(ZoomMode mode) {
    if (mode == ZoomMode::Factor) factor_ = zoomFactor();
    mode_ = mode;
    cache_.clear();
    const int keep = current_;
    relayout();
    setCurrentPage(keep);
    viewport()->update();
    emit zoomChanged();
}

void PageView::setZoomFactor(double factor) {
    factor_ = std::clamp(factor, kMinZoom, kMaxZoom);
    mode_ = ZoomMode::Factor;
    cache_.clear();
    const int keep = current_;
    relayout();
    setCurrentPage(keep);
    viewport()->update();
    emit zoomChanged();
}

void PageView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    const int keep = current_;
    if (mode_ != ZoomMode::Factor) cache_.clear();
    relayout();
    // The page that was current stays current at its new size.
    setCurrentPage(keep);
}

void PageView::scrollContentsBy(int, int) {
    updateCurrentFromScroll();
    viewport()->update();
}

const QPixmap& PageView::pagePixmap(int index, const QSize& size) {
    for (auto it = cache_.begin(); it != cache_.end(); ++it)
        if (it->index == index) {
            cache_.splice(cache_.begin(), cache_, it);
            return cache_.front().pixmap;
        }
    const qreal dpr = devicePixelRatioF();
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::white);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        doc_->paintPage(p, index, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    cache_.push_front({index, std::move(pm)});
    if (cache_.size() > kCachedPages) cache_.pop_back();
    return cache_.front().pixmap;
}

void PageView::paintEvent(QPaintEvent*) {
    if (!doc_) return;
    QPainter p(viewport());
    const QSize ps = pageSize();
    const int step = ps.height() + kGap;
    const int top = verticalScrollBar()->value();
    const int first = std::max(0, (top - kGap) / std::max(1, step));
    for (int i = first; i < pageCount(); ++i) {
        QRect r = pageRect(i);
        if (r.top() > viewport()->height()) break;
        p.fillRect(r.translated(3, 3), QColor(0x50, 0x50, 0x50));
        p.drawPixmap(r.topLeft(), pagePixmap(i, ps));
    }
}

void PageView::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Home: setCurrentPage(0); return;
        case Qt::Key_End: setCurrentPage(pageCount() - 1); return;
        case Qt::Key_PageDown:
            if (mode_ == ZoomMode::FitPage) return setCurrentPage(current_ + 1);
            break;
        case Qt::Key_PageUp:
            if (mode_ == ZoomMode::FitPage) return setCurrentPage(current_ - 1);
            break;
        default: break;
    }
    QAbstractScrollArea::keyPressEvent(e);
}

void PageView::wheelEvent(QWheelEvent* e) {
    // Ctrl and the wheel zoom, as in other programs that show pages.
    if (e->modifiers() & Qt::ControlModifier) {
        const int steps = e->angleDelta().y() / 120;
        if (steps) setZoomFactor(zoomFactor() * std::pow(1.25, steps));
        e->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(e);
}

}  // namespace vemora::gui
