// Helpers for the end-to-end tests.
#include "E2eSupport.h"

#include <QGuiApplication>

#include <cstdlib>

namespace e2e {

void ensureApplication()
{
    static std::unique_ptr<QGuiApplication> app = [] {
        if (QCoreApplication::instance())
            return std::unique_ptr<QGuiApplication>();
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "flash_e2e_test";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

SwfWriter newMovie(uint8_t version, double frameRate)
{
    SwfWriter w(version, kStage, kStage, frameRate);
    w.background(Color::rgb(0xffffff));
    return w;
}

PlayedMovie::PlayedMovie(const std::vector<uint8_t>& bytes)
    : m_player(std::make_unique<flash::Player>(flash::PlayerSettings{}))
{
    ensureApplication();
    m_player->loadBytes(bytes);
    m_player->settle(); // as the widget does once the loading handler has returned
}

namespace {

// With VF_E2E_DUMP_DIR set, every rendered frame is also saved there, named
// after its test, so that a failing check can be looked at.
void dumpImage(const QImage& image)
{
    static const QString dir = qEnvironmentVariable("VF_E2E_DUMP_DIR");
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (dir.isEmpty() || !test)
        return;
    static int counter = 0;
    image.save(QStringLiteral("%1/%2.%3-%4.png").arg(dir, test->test_suite_name(), test->name()).arg(++counter));
}

} // namespace

QImage PlayedMovie::image(QSize size)
{
    if (!size.isValid())
        size = m_player->stageSize();
    QImage image = m_player->renderImage(size).convertToFormat(QImage::Format_ARGB32);
    dumpImage(image);
    return image;
}

PlayedMovie& PlayedMovie::advance(int frames)
{
    for (int i = 0; i < frames; ++i)
        m_player->advanceFrame();
    return *this;
}

QImage renderFirstFrame(SwfWriter& w, QSize size)
{
    w.showFrame();
    PlayedMovie movie(w.finish());
    EXPECT_TRUE(movie.loaded()) << movie.player().loadError();
    return movie.image(size);
}

QColor pixel(const QImage& image, int x, int y)
{
    return QColor::fromRgba(image.pixel(x, y));
}

::testing::AssertionResult colorNear(const QImage& image, int x, int y, QColor expected, int tolerance)
{
    if (!image.valid(x, y))
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") lies outside the "
                                             << image.width() << " x " << image.height() << " image";
    const QColor c = pixel(image, x, y);
    const bool near = std::abs(c.red() - expected.red()) <= tolerance
        && std::abs(c.green() - expected.green()) <= tolerance && std::abs(c.blue() - expected.blue()) <= tolerance;
    if (near)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is rgb(" << c.red() << ", " << c.green()
                                         << ", " << c.blue() << "), expected rgb(" << expected.red() << ", "
                                         << expected.green() << ", " << expected.blue() << ") within " << tolerance;
}

} // namespace e2e
