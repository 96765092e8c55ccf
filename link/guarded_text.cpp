#include "link/guarded_text.h"

#include <ostream>

namespace ravo {

GuardedText& GuardedText::operator=(std::string text)
{
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
    return *this;
}

void GuardedText::clear()
{
    std::lock_guard lock(mutex_);
    text_.clear();
}

std::string GuardedText::str() const
{
    std::lock_guard lock(mutex_);
    return text_;
}

bool GuardedText::empty() const
{
    std::lock_guard lock(mutex_);
    return text_.empty();
}

std::ostream& operator<<(std::ostream& out, const GuardedText& text)
{
    return out << text.str();
}

}  // namespace ravo
