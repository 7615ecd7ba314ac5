#include "shell/DenseIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <memory>
#include <optional>

namespace tovani {

namespace {

// What the copies of one icon share: the plain icon, and the one with the dense picture once
// it has been read.
struct DenseIconData {
    QIcon normal;
    QSize normalSize;
    std::function<QImage()> readDense;
    std::optional<QIcon> full;

    const QIcon& Full() {
        if (!full) {
            full = normal;
            if (readDense) {
                const QImage dense = readDense();
                if (!dense.isNull())
                    full->addPixmap(QPixmap::fromImage(dense));
            }
            readDense = nullptr;
        }
        return *full;
    }
    // Larger than the normal picture: only the dense one can serve without blowing it up.
    const QIcon& For(const QSize& size) {
        return size.width() > normalSize.width() || size.height() > normalSize.height() ? Full()
                                                                                        : normal;
    }
};

class DenseIconEngine : public QIconEngine {
public:
    explicit DenseIconEngine(std::shared_ptr<DenseIconData> data) : data_(std::move(data)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QSize pixels = (QSizeF(rect.size()) * dpr).toSize();
        data_->For(pixels).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return data_->normal.actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return data_->For(size).pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return data_->For((QSizeF(size) * scale).toSize()).pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return data_->normal.availableSizes(mode, state);
    }
    bool isNull() override { return data_->normal.isNull(); }
    QIconEngine* clone() const override { return new DenseIconEngine(data_); }

private:
    std::shared_ptr<DenseIconData> data_;
};

} // namespace

QIcon DenseOnDemandIcon(const QImage& normal, std::function<QImage()> dense) {
    auto data = std::make_shared<DenseIconData>();
    data->normal = QIcon(QPixmap::fromImage(normal));
    data->normalSize = normal.size();
    data->readDense = std::move(dense);
    return QIcon(new DenseIconEngine(std::move(data)));
}

} // namespace tovani
