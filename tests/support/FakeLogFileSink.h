#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "logging/LogFileSink.h"

namespace vantrel::testing {

// Log files kept in memory; a test makes every file, or chosen ones, fail and
// recover.
class FakeLogFileSink : public LogFileSink {
  public:
    std::map<std::string, std::string> files;
    bool failing = false;
    std::set<std::string> failingPaths;
    int replaceCalls = 0;
    int appendCalls = 0;

    std::optional<std::string> replace(const std::string& path, std::string_view text) override {
        ++replaceCalls;
        return write(path, text, false);
    }
    std::optional<std::string> append(const std::string& path, std::string_view text) override {
        ++appendCalls;
        return write(path, text, true);
    }
    std::optional<std::string> createNew(const std::string& path, std::string_view text) override {
        if (exists(path)) {
            return path + ": File exists";
        }
        return write(path, text, false);
    }
    std::optional<std::string> copyToNew(const std::string& from, const std::string& to) override {
        if (exists(to)) {
            return to + ": File exists";
        }
        if (!exists(from)) {
            return from + ": No such file or directory";
        }
        return write(to, files[from], false);
    }
    bool exists(const std::string& path) override { return files.contains(path); }
    bool holdsData(const std::string& path) override {
        return exists(path) && !files[path].empty();
    }

  private:
    std::optional<std::string> write(const std::string& path, std::string_view text,
                                     bool appending) {
        if (failing || failingPaths.contains(path)) {
            return path + ": No such file or directory";
        }
        if (!appending) {
            files[path].clear();
        }
        files[path].append(text);
        return std::nullopt;
    }
};

}  // namespace vantrel::testing
