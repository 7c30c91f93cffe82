#include "history/ui/LogLoader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vantrel {

namespace {
constexpr std::size_t kChunkBytes = 1 << 20;
}

LogLoader::LogLoader(std::string path, history::LogReadOptions options, QObject* parent)
    : QObject(parent), path_(std::move(path)), options_(std::move(options)) {}

LogLoader::~LogLoader() {
    cancel();
    wait();
}

void LogLoader::start() {
    worker_ = std::thread([this] { read(); });
}

void LogLoader::wait() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

int LogLoader::percent() const {
    const std::uint64_t size = size_;
    return size == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(100, bytesRead_ * 100 / size));
}

void LogLoader::read() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::u8path(path_);
    size_ = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file) {
        result_.error = "The log file " + path_ + " could not be opened.";
    } else {
        history::LogReader reader(options_);
        std::vector<char> chunk(kChunkBytes);
        // A file cut short or gone while it is read simply ends there.
        while (!cancel_ && file) {
            file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            const auto got = static_cast<std::size_t>(file.gcount());
            if (got == 0) {
                break;
            }
            reader.feed({chunk.data(), got});
            bytesRead_ += got;
        }
        result_.cancelled = cancel_;
        if (!cancel_) {
            result_.document = std::make_unique<history::HistoryDocument>(reader.finish());
            result_.problems = reader.problemText();
        }
    }
    done_ = true;
    QMetaObject::invokeMethod(this, &LogLoader::finished, Qt::QueuedConnection);
}

history::LogReadOptions LocalLogOptions(const std::string& path) {
    history::LogReadOptions options;
    options.localToUtc = [](const platform::DateTime& t) {
        const QDateTime local(QDate(t.year, t.month, t.day),
                              QTime(t.hour, t.minute, t.second, t.millisecond), Qt::LocalTime);
        return static_cast<std::int64_t>(local.toMSecsSinceEpoch());
    };
    const QFileInfo info(QString::fromStdString(path));
    const QDateTime made = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
    const QDate day = made.isValid() ? made.date() : QDate::currentDate();
    options.firstDay = {day.year(), day.month(), day.day()};
    return options;
}

}  // namespace vantrel
