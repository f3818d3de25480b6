// Reading corpus vectors with Qt's JSON parser.
#include "CorpusJson.h"

#include <QByteArray>
#include <QJsonDocument>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace flash::test {

namespace fs = std::filesystem;

fs::path corpusDir() { return VF_CORPUS_DIR; }

std::vector<uint8_t> readFileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<QJsonObject> readJsonObject(const fs::path& path)
{
    if (!fs::exists(path))
        return std::nullopt;
    const auto bytes = readFileBytes(path);
    const auto doc = QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (!doc.isObject())
        return std::nullopt;
    return doc.object();
}

std::vector<uint8_t> fromHex(const QString& hex)
{
    const QByteArray raw = QByteArray::fromHex(hex.toLatin1());
    return {raw.begin(), raw.end()};
}

std::vector<Vector> loadVectors(const std::string& folder, const std::string& prefix)
{
    std::vector<Vector> vectors;
    const fs::path dir = corpusDir() / "expected" / folder;
    if (!fs::exists(dir))
        return vectors;
    const std::string suffix = "__input.bytes";
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        if (!file.starts_with(prefix) || !file.ends_with(suffix))
            continue;
        Vector v;
        v.name = file.substr(0, file.size() - suffix.size());
        v.input = readFileBytes(entry.path());
        v.value = readJsonObject(dir / (v.name + "__value.json"));
        vectors.push_back(std::move(v));
    }
    std::ranges::sort(vectors, {}, &Vector::name);
    return vectors;
}

} // namespace flash::test
