#pragma once
#include <iosfwd>
#include <mutex>
#include <string>

namespace ravo {

// A text that one thread may write while another reads or writes it (the
// link's lastError: the user interface tests the link while a job runs).
// Every access copies under a lock; no reference to the text ever escapes.
class GuardedText {
public:
    GuardedText() = default;
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    GuardedText& operator=(std::string text);
    void clear();
    std::string str() const;
    operator std::string() const { return str(); }
    bool empty() const;

    friend bool operator==(const GuardedText& a, const std::string& b) { return a.str() == b; }
    friend bool operator!=(const GuardedText& a, const std::string& b) { return a.str() != b; }
    friend std::ostream& operator<<(std::ostream& out, const GuardedText& text);

private:
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace ravo
