// What the corpus runs share: the list of movies and a watchdog that ends the
// test program, naming the movie, when one movie takes far too long.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace flash::test {

namespace fs = std::filesystem;

// A movie that takes longer than this is taken to hang (the bound is generous
// enough for sanitizer builds; it is not a speed check).
constexpr auto kPerMovieBound = std::chrono::minutes(3);

// Ends the whole test program, naming the movie, when one movie runs past the bound.
class Watchdog {
public:
    Watchdog() : m_thread([this] { watch(); }) { }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void startMovie(const std::string& name)
    {
        std::lock_guard lock(m_mutex);
        m_current = name;
        m_started = std::chrono::steady_clock::now();
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_done) {
            m_wake.wait_for(lock, std::chrono::seconds(1));
            if (!m_current.empty() && std::chrono::steady_clock::now() - m_started > kPerMovieBound) {
                std::fprintf(stderr, "HANG: %s did not finish within the bound\n", m_current.c_str());
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_current;
    std::chrono::steady_clock::time_point m_started;
    bool m_done = false;
    std::thread m_thread;
};

inline std::vector<fs::path> corpusMovies()
{
    std::vector<fs::path> movies;
    const fs::path root = fs::path(VF_CORPUS_DIR) / "files";
    std::error_code error;
    if (!fs::is_directory(root, error))
        return movies;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".swf")
            movies.push_back(entry.path());
    }
    std::sort(movies.begin(), movies.end());
    return movies;
}

} // namespace flash::test
