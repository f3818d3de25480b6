#include "flash/render/DrawingThread.h"

#include <QPaintDevice>
#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <exception>

namespace flash {

namespace {

// Qt hands a fill to other threads from about a hundred spans on, which a
// drawing of fewer rows than this seldom reaches: it is not worth the handover.
constexpr int kRowsWorthHandingOver = 64;

} // namespace

void drawOnDrawingThread(const QPainter& painter, const std::function<void()>& draw)
{
    QThreadPool* pool = QThreadPool::globalInstance();
    const QPaintDevice* device = painter.device();
    const bool inMemory = device && device->devType() == QInternal::Image;
    const int rows = painter.hasClipping() ? int(painter.clipBoundingRect().height()) : device ? device->height() : 0;
    if (!inMemory || rows < kRowsWorthHandingOver || !pool || pool->contains(QThread::currentThread())) {
        draw();
        return;
    }
    QSemaphore done;
    std::exception_ptr failure;
    const bool started = pool->tryStart([&] {
        try {
            draw();
        } catch (...) {
            failure = std::current_exception();
        }
        done.release();
    });
    if (!started) {
        draw();
        return;
    }
    done.acquire();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace flash
