// The Flash control as its host drives it: by dispatch id, with and without a movie.
#include "TestMovies.h"

#include "flash/widget/FlashWidget.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

constexpr int kMovie = 102, kPlay = 112, kStop = 113, kTotalFrames = 124, kPlaying = 125, kGotoFrame = 127,
              kCurrentFrame = 128;

class FlashWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        moviePath = directory.filePath(QStringLiteral("colours.swf"));
        ASSERT_TRUE(writeFile(moviePath.toStdString(), colourFramesMovie()));
        widget.resize(200, 100);
    }

    QVariant get(int id) { return widget.dispatch(id, DispatchKind::PropertyGet); }
    void put(int id, const QVariant& value) { widget.dispatch(id, DispatchKind::PropertyPut, {value}); }
    QVariant call(int id, const QVariantList& arguments = {}) { return widget.dispatch(id, DispatchKind::Method, arguments); }

    QTemporaryDir directory;
    QString moviePath;
    FlashWidget widget;
};

TEST_F(FlashWidgetTest, IsCreatedWithTheHostsSettings)
{
    EXPECT_EQ(widget.contextMenuPolicy(), Qt::PreventContextMenu);
    const FlashSettings& settings = widget.settings();
    EXPECT_TRUE(settings.startPlayingOnLoad);
    EXPECT_TRUE(settings.loop);
    EXPECT_FALSE(settings.contextMenu);
    EXPECT_EQ(settings.quality, QStringLiteral("High"));
    EXPECT_EQ(settings.scaleMode, QStringLiteral("ShowAll"));
    EXPECT_EQ(settings.windowMode, QStringLiteral("Window"));
    EXPECT_EQ(get(kMovie).toString(), QString());
}

TEST_F(FlashWidgetTest, EveryOperationIsAcceptedWithNoMovie)
{
    call(kStop);
    EXPECT_EQ(call(kCurrentFrame).toInt(), 0);
    call(kGotoFrame, {-20});
    call(kGotoFrame, {1050});
    call(kPlay);
    put(kMovie, QString());
    put(kPlaying, -1);
    EXPECT_EQ(get(kMovie).toString(), QString());
    EXPECT_EQ(get(kTotalFrames).toInt(), 0);
    EXPECT_FALSE(get(kPlaying).toBool());
    EXPECT_EQ(call(kCurrentFrame).toInt(), 0);
    EXPECT_FALSE(widget.grab().isNull());
}

TEST_F(FlashWidgetTest, WritingAPathLoadsAndStartsTheMovie)
{
    put(kMovie, moviePath);
    EXPECT_EQ(get(kMovie).toString(), moviePath);
    EXPECT_EQ(get(kTotalFrames).toInt(), int(kFrameColors.size()));
    EXPECT_TRUE(get(kPlaying).toBool());
    EXPECT_EQ(call(kCurrentFrame).toInt(), 0);
    EXPECT_TRUE(hasColorAt(widget.grab().toImage(), 100, 50, kFrameColors[0]));
}

TEST_F(FlashWidgetTest, PlayingFalseRightAfterLoadingHoldsTheFirstFrame)
{
    put(kMovie, moviePath);
    put(kPlaying, 0);
    EXPECT_FALSE(get(kPlaying).toBool());
    widget.player().advanceFrame();
    EXPECT_EQ(call(kCurrentFrame).toInt(), 0);
    put(kPlaying, -1);
    EXPECT_TRUE(get(kPlaying).toBool());
}

TEST_F(FlashWidgetTest, AStopOnTheFirstFrameRunsAfterTheHostSetsItPlaying)
{
    const QString stopping = directory.filePath(QStringLiteral("start-screen.swf"));
    ASSERT_TRUE(writeFile(stopping.toStdString(), colourFramesMovie(0)));
    put(kMovie, stopping);
    put(kPlaying, -1); // what the open-file command does right after loading
    EXPECT_TRUE(get(kPlaying).toBool()) << "no script has run inside the host's handler";
    QCoreApplication::processEvents();
    EXPECT_FALSE(get(kPlaying).toBool()) << "the start screen waits for its start button";
    EXPECT_EQ(call(kCurrentFrame).toInt(), 0);
}

TEST_F(FlashWidgetTest, StopPlayAndGotoFrameAsTheSteppingCommandsUseThem)
{
    put(kMovie, moviePath);
    call(kStop);
    EXPECT_FALSE(get(kPlaying).toBool());
    call(kGotoFrame, {call(kCurrentFrame).toInt() + 3});
    call(kPlay);
    EXPECT_EQ(call(kCurrentFrame).toInt(), 3);
    EXPECT_TRUE(get(kPlaying).toBool());
    EXPECT_TRUE(hasColorAt(widget.grab().toImage(), 100, 50, kFrameColors[3]));

    call(kGotoFrame, {-20});
    EXPECT_EQ(call(kCurrentFrame).toInt(), 0);
    call(kGotoFrame, {1050});
    EXPECT_EQ(call(kCurrentFrame).toInt(), int(kFrameColors.size()) - 1);
}

TEST_F(FlashWidgetTest, WritingTheEmptyTextUnloads)
{
    put(kMovie, moviePath);
    call(kStop);
    put(kMovie, QString());
    EXPECT_EQ(get(kMovie).toString(), QString());
    EXPECT_EQ(get(kTotalFrames).toInt(), 0);
    EXPECT_FALSE(get(kPlaying).toBool());
}

TEST_F(FlashWidgetTest, AFileThatIsNotAMovieShowsNothingButKeepsItsPath)
{
    const QString textPath = directory.filePath(QStringLiteral("notes.swf"));
    ASSERT_TRUE(writeFile(textPath.toStdString(), {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'v', 'i', 'e'}));
    put(kMovie, textPath);
    EXPECT_EQ(get(kMovie).toString(), textPath);
    EXPECT_EQ(get(kTotalFrames).toInt(), 0);
    EXPECT_FALSE(get(kPlaying).toBool());

    put(kMovie, QStringLiteral("/no/such/folder/movie.swf"));
    EXPECT_EQ(get(kTotalFrames).toInt(), 0);
    put(kMovie, moviePath);
    EXPECT_EQ(get(kTotalFrames).toInt(), int(kFrameColors.size())) << "still usable afterwards";
}

TEST_F(FlashWidgetTest, PathsWithBackslashesAndFileUrlsFindTheFile)
{
    QString hostPath = moviePath;
    hostPath.replace(hostPath.lastIndexOf(QLatin1Char('/')), 1, QLatin1Char('\\'));
    put(kMovie, hostPath);
    EXPECT_EQ(get(kMovie).toString(), hostPath);
    EXPECT_EQ(get(kTotalFrames).toInt(), int(kFrameColors.size()));

    put(kMovie, QString());
    const QString url = QUrl::fromLocalFile(moviePath).toString();
    put(kMovie, url);
    EXPECT_EQ(get(kMovie).toString(), url);
    EXPECT_EQ(get(kTotalFrames).toInt(), int(kFrameColors.size()));
}

TEST_F(FlashWidgetTest, PropertiesAlsoAnswerMethodCallsAndUnknownIdsAnswerNothing)
{
    widget.dispatch(kMovie, DispatchKind::Method, {moviePath});
    EXPECT_EQ(widget.dispatch(kMovie, DispatchKind::Method).toString(), moviePath);
    EXPECT_FALSE(widget.dispatch(999, DispatchKind::Method).isValid());
    put(kTotalFrames, 7);
    EXPECT_EQ(get(kTotalFrames).toInt(), int(kFrameColors.size())) << "TotalFrames cannot be written";
}

TEST_F(FlashWidgetTest, TheFrameTimerPlaysTheMovie)
{
    put(kMovie, moviePath);
    widget.show();
    QElapsedTimer waited;
    waited.start();
    while (call(kCurrentFrame).toInt() == 0 && waited.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GT(call(kCurrentFrame).toInt(), 0);
}

// Clicks, typing and the clipboard through the control's own Qt events: a
// red box shows while the input field says "hi"; a blue button writes into it.
TEST_F(FlashWidgetTest, ThePointerKeysAndClipboardReachTheMovie)
{
    swfw::SwfWriter w(8, 200, 100, 12);
    w.actions(swfw::compileActionScript(R"(
        createTextField("field", 1, 10, 10, 100, 20);
        field.type = "input";
        var box = createEmptyMovieClip("box", 2);
        box.beginFill(0xFF0000); box.moveTo(150, 10); box.lineTo(190, 10); box.lineTo(190, 50); box.lineTo(150, 50); box.endFill();
        box._visible = false;
        field.onChanged = function() { box._visible = field.text == "hi"; };
        var button = createEmptyMovieClip("button", 3);
        button.beginFill(0x0000FF); button.moveTo(150, 60); button.lineTo(190, 60); button.lineTo(190, 90); button.lineTo(150, 90); button.endFill();
        button.onRelease = function() { field.text = "clicked"; box._visible = false; };
        stop();
    )")).showFrame();
    const QString path = directory.filePath(QStringLiteral("typing.swf"));
    ASSERT_TRUE(writeFile(path.toStdString(), w.finish()));
    put(kMovie, path);
    widget.player().settle();
    const QColor red(Qt::red), white(Qt::white);
    auto boxColor = [&] { return QColor(widget.grab().toImage().pixel(170, 30)); };

    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::keyClicks(&widget, QStringLiteral("hi"));
    EXPECT_EQ(boxColor(), red);
    QTest::keyClick(&widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hi"));

    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(170, 75));
    EXPECT_EQ(boxColor(), white);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::keyClick(&widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(boxColor(), red) << "pasted over the selected text";
}

} // namespace
} // namespace flash::test
