#pragma once
#include <cstdio>
#include <string>

namespace ravo {

// The application log, "loggfile.txt": one line per program start and per
// firmware or serial-number request, "%Y-%m-%d %H:%M:%S : message", CR LF ends,
// appended across runs, each line written through to the file as it is
// logged. A log that cannot be opened drops its lines silently.
class AppLog {
public:
    AppLog() = default;
    ~AppLog();
    AppLog(const AppLog&) = delete;
    AppLog& operator=(const AppLog&) = delete;

    void open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    void write(const std::string& message);
    void writef(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace ravo
