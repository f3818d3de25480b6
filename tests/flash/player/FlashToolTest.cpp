// flashtool as tests, benchmarks and users run it: info, render and bench on movies written here.
#include "TestMovies.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out, err;
};

class FlashToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        moviePath = directory.filePath(QStringLiteral("colours.swf"));
        ASSERT_TRUE(writeFile(moviePath.toStdString(), colourFramesMovie()));
        stoppingPath = directory.filePath(QStringLiteral("stops.swf"));
        ASSERT_TRUE(writeFile(stoppingPath.toStdString(), colourFramesMovie(2)));
    }

    static ToolRun flashtool(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(VF_FLASHTOOL), arguments);
        ToolRun run;
        if (!process.waitForFinished(120'000))
            return run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    QTemporaryDir directory;
    QString moviePath, stoppingPath;
};

TEST_F(FlashToolTest, InfoDescribesTheMovie)
{
    const ToolRun run = flashtool({QStringLiteral("info"), moviePath});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject info = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(info.value(QStringLiteral("signature")).toString(), QStringLiteral("CWS"));
    EXPECT_EQ(info.value(QStringLiteral("version")).toInt(), 8);
    EXPECT_EQ(info.value(QStringLiteral("width")).toDouble(), 200);
    EXPECT_EQ(info.value(QStringLiteral("height")).toDouble(), 100);
    EXPECT_EQ(info.value(QStringLiteral("frameRate")).toDouble(), 24);
    EXPECT_EQ(info.value(QStringLiteral("headerFrameCount")).toInt(), 100);
    EXPECT_EQ(info.value(QStringLiteral("frameCount")).toInt(), int(kFrameColors.size()));
    EXPECT_EQ(info.value(QStringLiteral("backgroundColor")).toString().size(), 7);
    const QJsonObject tags = info.value(QStringLiteral("tags")).toObject();
    EXPECT_EQ(tags.value(QStringLiteral("ShowFrame")).toInt(), int(kFrameColors.size()));
    EXPECT_TRUE(info.value(QStringLiteral("errors")).isArray());
}

TEST_F(FlashToolTest, InfoOnSomethingElseFailsWithOneLine)
{
    const QString textPath = directory.filePath(QStringLiteral("text.swf"));
    ASSERT_TRUE(writeFile(textPath.toStdString(), {'t', 'e', 'x', 't'}));
    const ToolRun run = flashtool({QStringLiteral("info"), textPath});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
}

TEST_F(FlashToolTest, RenderWritesTheFramePlayingReaches)
{
    const QString out = directory.filePath(QStringLiteral("frame.png"));
    ASSERT_EQ(flashtool({QStringLiteral("render"), moviePath, QStringLiteral("--frame"), QStringLiteral("3"),
                         QStringLiteral("--out"), out}).exitCode, 0);
    const QImage image(out);
    EXPECT_EQ(image.size(), QSize(200, 100)) << "the stage size by default";
    EXPECT_TRUE(hasColorAt(image, 100, 50, kFrameColors[3]));

    // The movie stops itself on frame 2, so frame 5 of playing still shows it.
    ASSERT_EQ(flashtool({QStringLiteral("render"), stoppingPath, QStringLiteral("--frame"), QStringLiteral("5"),
                         QStringLiteral("--size"), QStringLiteral("400x200"), QStringLiteral("--out"), out}).exitCode, 0);
    const QImage stopped(out);
    EXPECT_EQ(stopped.size(), QSize(400, 200));
    EXPECT_TRUE(hasColorAt(stopped, 200, 100, kFrameColors[2]));
}

TEST_F(FlashToolTest, RenderWritesARangeOfFramesIntoAFolder)
{
    const QString outDir = directory.filePath(QStringLiteral("frames"));
    ASSERT_EQ(flashtool({QStringLiteral("render"), moviePath, QStringLiteral("--frames"), QStringLiteral("1-3"),
                         QStringLiteral("--out-dir"), outDir}).exitCode, 0);
    for (int frame = 1; frame <= 3; ++frame) {
        const QImage image(QDir(outDir).filePath(QStringLiteral("frame-%1.png").arg(frame, 5, 10, QLatin1Char('0'))));
        ASSERT_FALSE(image.isNull()) << frame;
        EXPECT_TRUE(hasColorAt(image, 100, 50, kFrameColors[size_t(frame)])) << frame;
    }
    EXPECT_FALSE(QFile::exists(QDir(outDir).filePath(QStringLiteral("frame-00000.png"))));
}

TEST_F(FlashToolTest, BenchReportsItsFigures)
{
    const ToolRun run = flashtool({QStringLiteral("bench"), moviePath, QStringLiteral("--size"), QStringLiteral("100x50")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject figures = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(figures.value(QStringLiteral("movieFrames")).toInt(), int(kFrameColors.size()));
    EXPECT_GE(figures.value(QStringLiteral("frames")).toInt(), int(kFrameColors.size()));
    for (const char* key : {"loadMs", "advanceMeanMs", "advanceP95Ms", "advanceMaxMs", "renderMeanMs", "renderP95Ms",
                            "renderMaxMs", "frameP95Ms"}) {
        ASSERT_TRUE(figures.contains(QLatin1String(key))) << key;
        EXPECT_GE(figures.value(QLatin1String(key)).toDouble(-1), 0) << key;
    }
}

TEST_F(FlashToolTest, RunAppliesInputEventsAtTheStartOfTheirTicks)
{
    swfw::SwfWriter w(8, 200, 100, 12);
    w.actions(swfw::compileActionScript(R"(
        trace("frame " + _currentframe);
        Mouse.addListener({ onMouseDown: function() { trace("down at " + _root._xmouse + "," + _root._ymouse); } });
        Key.addListener({ onKeyDown: function() { trace("key " + Key.getCode() + " " + Key.getAscii()); } });
    )")).showFrame();
    w.actions(swfw::compileActionScript("trace('frame ' + _currentframe); stop();")).showFrame();
    const QString movie = directory.filePath(QStringLiteral("input.swf"));
    ASSERT_TRUE(writeFile(movie.toStdString(), w.finish()));
    const QString events = directory.filePath(QStringLiteral("events.txt"));
    QFile file(events);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# pointer, then keys\n2 move 30 40\n2 down\n3 up\n3 key 37\n3 type A!\n");
    file.close();

    const ToolRun run = flashtool({QStringLiteral("run"), movie, QStringLiteral("--ticks"), QStringLiteral("3"),
                                   QStringLiteral("--input"), events});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, QByteArray("frame 1\ndown at 30,40\nframe 2\nkey 37 0\nkey 65 65\nkey 0 33\n"));

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1 move 3\n");
    file.close();
    const ToolRun bad = flashtool({QStringLiteral("run"), movie, QStringLiteral("--input"), events});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains("line 1")) << bad.err.constData();
}

TEST_F(FlashToolTest, BadArgumentsAreRefused)
{
    EXPECT_NE(flashtool({QStringLiteral("render"), moviePath}).exitCode, 0);
    EXPECT_NE(flashtool({QStringLiteral("render"), moviePath, QStringLiteral("--size"), QStringLiteral("0x9"),
                         QStringLiteral("--frame"), QStringLiteral("1"), QStringLiteral("--out"), QStringLiteral("x.png")}).exitCode, 0);
    EXPECT_NE(flashtool({QStringLiteral("dance"), moviePath}).exitCode, 0);
}

} // namespace
} // namespace flash::test
