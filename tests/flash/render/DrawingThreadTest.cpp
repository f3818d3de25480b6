// Frames drawn into pictures in memory are drawn on a thread of Qt's pool
// (where Qt fills without handing rows to other threads); others, and small
// drawings, stay here.
#include "flash/render/DrawingThread.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QThread>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <stdexcept>

namespace flash {
namespace {

bool onPoolThread()
{
    return QThreadPool::globalInstance()->contains(QThread::currentThread());
}

TEST(DrawingThread, LargePicturesInMemoryAreDrawnOnThePool)
{
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter onImage(&image);
    bool pooled = false;
    drawOnDrawingThread(onImage, [&] { pooled = onPoolThread(); });
    EXPECT_TRUE(pooled);
    EXPECT_THROW(drawOnDrawingThread(onImage, [] { throw std::runtime_error("drawing failed"); }),
                 std::runtime_error);

    QPicture recording;
    QPainter onRecording(&recording);
    bool here = false;
    drawOnDrawingThread(onRecording, [&] { here = !onPoolThread(); });
    EXPECT_TRUE(here) << "not a picture in memory";

    QImage small(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter onSmall(&small);
    here = false;
    drawOnDrawingThread(onSmall, [&] { here = !onPoolThread(); });
    EXPECT_TRUE(here) << "a few rows are not worth the handover";
}

} // namespace
} // namespace flash
