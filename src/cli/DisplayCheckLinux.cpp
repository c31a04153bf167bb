#include "DisplayCheck.h"

#include "UniqueFd.h"

#include <QByteArray>
#include <QDir>

#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace {

// A display that is named but does not answer within this long counts as none.
constexpr int ConnectTimeoutMs = 2000;

bool connectsTo(int family, const sockaddr* address, socklen_t length)
{
    const UniqueFd fd(::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.isValid())
        return false;
    if (::connect(fd.get(), address, length) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd wait{fd.get(), POLLOUT, 0};
    if (::poll(&wait, 1, ConnectTimeoutMs) != 1)
        return false;
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// A local socket at path; abstract names start with a NUL byte.
bool connectsToSocket(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) +
                                               static_cast<std::size_t>(path.size()));
    return connectsTo(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length);
}

bool connectsToHost(const QByteArray& host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return false;
    bool connected = false;
    for (const addrinfo* each = found; each != nullptr && !connected; each = each->ai_next)
        connected = connectsTo(each->ai_family, each->ai_addr, each->ai_addrlen);
    ::freeaddrinfo(found);
    return connected;
}

// "[host]:number[.screen]": a host reached over TCP, otherwise the local server's socket.
bool x11Answers(const QByteArray& display)
{
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return false;
    QByteArray host = display.left(colon);
    const QByteArray number = display.mid(colon + 1).split('.').constFirst();
    bool isNumber = false;
    const int server = number.toInt(&isNumber);
    if (!isNumber || server < 0)
        return false;
    if (host.startsWith("unix"))
        host.clear();
    if (!host.isEmpty())
        return connectsToHost(host, 6000 + server);
    const QByteArray path = "/tmp/.X11-unix/X" + number;
    return connectsToSocket('\0' + path) || connectsToSocket(path);
}

bool waylandAnswers(const QByteArray& display)
{
    if (display.startsWith('/'))
        return connectsToSocket(display);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && connectsToSocket(runtime + '/' + display);
}

} // namespace

bool displayAvailable()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (!wayland.isEmpty() && waylandAnswers(wayland))
        return true;
    const QByteArray x11 = qgetenv("DISPLAY");
    return !x11.isEmpty() && x11Answers(x11);
}
