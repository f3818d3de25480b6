// The sandbox of local reads: inside the movie's folder only, never the network.
#include "flash/io/LocalUrl.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using flash::UrlRefusal;
using flash::resolveLocalUrl;

namespace {

class LocalUrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("vf-localurl-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "movie" / "media");
        fs::create_directories(root / "outside");
        std::ofstream(root / "movie" / "media" / "clip one.flv") << "x";
        std::ofstream(root / "outside" / "secret.txt") << "x";
        fs::create_directory_symlink(root / "outside", root / "movie" / "link");
        folder = root / "movie";
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root, folder;
};

TEST_F(LocalUrlTest, ResolvesInsideTheFolderInEveryWayMoviesWriteIt)
{
    const fs::path expected = fs::weakly_canonical(folder / "media" / "clip one.flv");
    for (const char* url : {"media/clip one.flv", "media\\clip one.flv", "./media/clip%20one.flv",
                            "media/clip one.flv?nocache=123", "media/../media/clip one.flv#start"}) {
        const auto resolved = resolveLocalUrl(folder, url);
        ASSERT_TRUE(resolved) << url;
        EXPECT_EQ(*resolved, expected) << url;
    }
    const auto fromFileUrl = resolveLocalUrl(folder, flash::fileUrlOf(expected));
    ASSERT_TRUE(fromFileUrl);
    EXPECT_EQ(*fromFileUrl, expected);
}

TEST_F(LocalUrlTest, RefusesTheNetworkAndEveryWayOut)
{
    for (const char* url : {"http://example.com/a.flv", "HTTPS://example.com/a.mp3", "rtmp://host/app", "mailto:a@b",
                            "file://otherhost/share/a.flv"})
        EXPECT_EQ(resolveLocalUrl(folder, url).error(), UrlRefusal::Network) << url;
    for (const std::string& url : {std::string("../outside/secret.txt"), std::string("media/../../outside/secret.txt"),
                                  std::string("link/secret.txt"), (root / "outside" / "secret.txt").string(),
                                  flash::fileUrlOf(root / "outside" / "secret.txt"), std::string("%2e%2e/outside/secret.txt"),
                                  std::string("")})
        EXPECT_EQ(resolveLocalUrl(folder, url).error(), UrlRefusal::OutsideFolder) << url;
    EXPECT_EQ(resolveLocalUrl({}, "media/clip one.flv").error(), UrlRefusal::NoFolder);
}

} // namespace
