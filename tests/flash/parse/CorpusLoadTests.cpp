// Loads every movie of the shared corpus: none may crash, and the real frame
// count must match the header wherever the manifest marks nothing odd.
#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = VF_CORPUS_DIR;

struct ManifestRow {
    int headerFrames = 0;
    std::string notes;
    std::set<std::string> tags; // every tag kind the file holds
};

std::map<std::string, ManifestRow> readManifest()
{
    std::map<std::string, ManifestRow> rows;
    std::ifstream in(kCorpus / "manifest.tsv");
    std::string line;
    std::getline(in, line); // column names
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t'))
            cells.push_back(cell);
        if (cells.size() < 27)
            continue;
        std::set<std::string> tags;
        std::stringstream list(cells.size() > 27 ? cells[27] : "");
        while (std::getline(list, cell, ','))
            tags.insert(cell);
        rows[cells[0]] = {std::atoi(cells[5].c_str()), cells[26], tags};
    }
    return rows;
}

TEST(CorpusLoad, EveryFileLoadsOrIsRejectedAndFrameCountsMatch)
{
    if (!fs::exists(kCorpus / "files"))
        GTEST_SKIP() << "corpus not present";
    const auto manifest = readManifest();
    int loaded = 0, rejected = 0, checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus / "files")) {
        if (entry.path().extension() != ".swf")
            continue;
        const std::string rel = fs::relative(entry.path(), kCorpus).generic_string();
        SCOPED_TRACE(rel);
        auto movie = flash::loadMovieFile(entry.path().string());
        const auto row = manifest.find(rel);
        if (!movie) {
            ++rejected;
            // Only files the manifest itself calls broken may be rejected.
            ASSERT_NE(row, manifest.end());
            EXPECT_NE(row->second.notes.find("not a SWF"), std::string::npos) << movie.error().message;
            continue;
        }
        ++loaded;
        if (row == manifest.end() || !row->second.notes.empty())
            continue;
        ++checked;
        EXPECT_EQ((*movie)->timeline.frames.size(), size_t(row->second.headerFrames));
        std::set<std::string> counted;
        for (const auto& [name, count] : (*movie)->tagCounts)
            counted.insert(name);
        EXPECT_EQ(counted, row->second.tags);
        EXPECT_TRUE((*movie)->errors.empty()) << (*movie)->errors.front();
    }
    EXPECT_GT(loaded, 300);
    EXPECT_GT(checked, 300);
    RecordProperty("loaded", loaded);
    RecordProperty("rejected", rejected);
}

} // namespace
