#include "app/app_log.h"

#include <cstdarg>
#include <ctime>

#include "link/c_format.h"

namespace ravo {
namespace {

std::string trimLogMessage(const std::string& text)
{
    const char* blanks = " \n\r\t";
    size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

}  // namespace

AppLog::~AppLog()
{
    close();
}

void AppLog::open(const std::string& path)
{
    close();
    path_ = path;
    // Binary mode: the line ends are written as CR LF on every platform.
    file_ = std::fopen(path.c_str(), "ab");
}

void AppLog::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

void AppLog::write(const std::string& message)
{
    char stamp[128];
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    if (std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local) == 0)
        stamp[0] = '\0';
    if (!file_)
        return;
    std::string text = formatC("%s : %s", stamp, trimLogMessage(message).c_str());
    text += "\r\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    // Each line reaches the file as it is logged: a crash or a kill must not
    // take the run's lines with it.
    std::fflush(file_);
}

void AppLog::writef(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vformatC(buffer, sizeof buffer, format, args);
    va_end(args);
    write(buffer);
}

}  // namespace ravo
