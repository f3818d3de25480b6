// Access to the shared corpus's expected-value vectors (input bytes + JSON).
#pragma once

#include <QJsonObject>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace flash::test {

[[nodiscard]] std::filesystem::path corpusDir();
[[nodiscard]] std::vector<uint8_t> readFileBytes(const std::filesystem::path& path);
[[nodiscard]] std::optional<QJsonObject> readJsonObject(const std::filesystem::path& path);
[[nodiscard]] std::vector<uint8_t> fromHex(const QString& hex);

struct Vector {
    std::string name;                // e.g. "define-shape__shape1-squares"
    std::vector<uint8_t> input;
    std::optional<QJsonObject> value;
};

// Every vector of `folder` (under expected/) whose name starts with `prefix`;
// empty when the corpus is absent.
[[nodiscard]] std::vector<Vector> loadVectors(const std::string& folder, const std::string& prefix);

} // namespace flash::test
