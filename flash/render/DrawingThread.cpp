#include "flash/render/DrawingThread.h"

#include <QPaintDevice>
#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <exception>

namespace flash {

void drawOnDrawingThread(const QPainter& painter, const std::function<void()>& draw)
{
    QThreadPool* pool = QThreadPool::globalInstance();
    const QPaintDevice* device = painter.device();
    const bool inMemory = device && device->devType() == QInternal::Image;
    if (!inMemory || !pool || pool->contains(QThread::currentThread())) {
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
