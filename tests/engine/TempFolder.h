#pragma once

// A fresh folder under the system's temporary folder, removed with its contents
// when the test ends.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::testing {

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("vantrel-engine-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& contents) const {
        std::ofstream(path_ / name, std::ios::binary) << contents;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
    // How many entries the folder holds, for checks that nothing was left behind.
    std::size_t entryCount() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(path_), {}));
    }

    // The files of a sub-folder with their contents, in name order with shorter
    // names first, so a log's own name comes before its dated parts.
    std::vector<std::pair<std::string, std::string>> files(const std::string& sub) const {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& entry : std::filesystem::directory_iterator(path_ / sub)) {
            const std::string name = entry.path().filename().string();
            files.emplace_back(name, read(sub + "/" + name));
        }
        std::ranges::sort(files, [](const auto& a, const auto& b) {
            return std::pair(a.first.size(), a.first) < std::pair(b.first.size(), b.first);
        });
        return files;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace vantrel::testing
