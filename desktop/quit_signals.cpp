#include "desktop/quit_signals.h"

#include <QSocketNotifier>

#ifndef _WIN32
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace ravo::desktop {

#ifndef _WIN32
namespace {

int g_pipe[2] = {-1, -1};

extern "C" void onQuitSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(g_pipe[0], &byte, 1);
}

void handle(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> quit, QObject* parent) : QObject(parent), quit_(std::move(quit))
{
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] ssize_t got = ::read(g_pipe[1], &byte, 1);
        if (quit_)
            quit_();
    });
    handle(SIGTERM, onQuitSignal);
    handle(SIGHUP, onQuitSignal);
}

QuitSignals::~QuitSignals()
{
    if (!notifier_)
        return;
    handle(SIGTERM, SIG_DFL);
    handle(SIGHUP, SIG_DFL);
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}
#else
QuitSignals::QuitSignals(std::function<void()> quit, QObject* parent) : QObject(parent), quit_(std::move(quit)) {}
QuitSignals::~QuitSignals() = default;
#endif

}  // namespace ravo::desktop
