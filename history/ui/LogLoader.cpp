#include "history/ui/LogLoader.h"

#include <QDateTime>
#include <QFileInfo>

#include "platform/qt/QtClock.h"

namespace vantrel {

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
    auto log = std::make_unique<history::FollowedLog>(path_, options_);
    const std::optional<std::uint64_t> size = log->fileSize();
    size_ = size.value_or(0);
    const bool read = size && log->readTo(*size, [this](std::uint64_t got) {
        bytesRead_ = got;
        return !cancel_;
    });
    if (!read) {
        result_.error = "The log file " + path_ + " could not be opened.";
    } else {
        result_.cancelled = cancel_;
        if (!cancel_) {
            result_.problems = log->reader().problemText();
            result_.log = std::move(log);
        }
    }
    done_ = true;
    QMetaObject::invokeMethod(this, &LogLoader::finished, Qt::QueuedConnection);
}

history::LogReadOptions LocalLogOptions(const std::string& path) {
    history::LogReadOptions options;
    options.localToUtc = platform::LocalTimeToUtcMilliseconds;
    const QFileInfo info(QString::fromStdString(path));
    const QDateTime made = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
    const QDate day = made.isValid() ? made.date() : QDate::currentDate();
    options.firstDay = {day.year(), day.month(), day.day()};
    return options;
}

}  // namespace vantrel
