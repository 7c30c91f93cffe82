#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "logging/LogFileSink.h"

namespace vantrel::testing {

// Log files kept in memory; a test switches them to failing and back.
class FakeLogFileSink : public LogFileSink {
  public:
    std::map<std::string, std::string> files;
    bool failing = false;
    int replaceCalls = 0;
    int appendCalls = 0;
    int failedCalls = 0;

    std::optional<std::string> replace(const std::string& path, std::string_view text) override {
        ++replaceCalls;
        if (failing) {
            ++failedCalls;
            return path + ": Permission denied";
        }
        files[path] = std::string(text);
        return std::nullopt;
    }
    std::optional<std::string> append(const std::string& path, std::string_view text) override {
        ++appendCalls;
        if (failing) {
            ++failedCalls;
            return path + ": No space left on device";
        }
        files[path].append(text);
        return std::nullopt;
    }
};

}  // namespace vantrel::testing
