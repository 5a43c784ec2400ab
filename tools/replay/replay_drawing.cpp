#include "tools/replay/replay_drawing.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zonky {

// The window has just been shown: its first picture is a full repaint.
RendererDrawing::RendererDrawing(const GameState& state) : renderer_(state, LoadPictures()) {
    renderer_.InvalidateAll();
}

void RendererDrawing::Paint(const std::optional<std::array<int, 4>>& rect) {
    if (rect)
        renderer_.Invalidate(QRect((*rect)[0], (*rect)[1], (*rect)[2], (*rect)[3]));
    else
        renderer_.InvalidateAll();
    renderer_.Flush();
}

namespace {

// Creates the file, or empties a regular one in place. A link is not followed (it may lead
// to a player's records), and a pipe or device is not opened: either could block or
// destroy something.
std::string WriteRegularFile(const std::string& path, const QByteArray& bytes) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return S_ISLNK(info.st_mode) ? "it is a link" : "it is not a regular file";
    const int fd =
        open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return errno == ELOOP ? "it is a link" : std::strerror(errno);
    // The name may have changed hands since the look above.
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return "it is not a regular file";
    }
    std::string problem;
    if (ftruncate(fd, 0) != 0) problem = std::strerror(errno);
    for (qsizetype done = 0; problem.empty() && done < bytes.size();) {
        const ssize_t n =
            write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            problem = n < 0 ? std::strerror(errno) : "nothing was written";
        else
            done += n;
    }
    if (close(fd) != 0 && problem.empty()) problem = std::strerror(errno);
    return problem;
}

}  // namespace

// What is pending is painted before the window reaches the screen, as the window does.
std::string RendererDrawing::WritePng(const std::string& path) {
    renderer_.Flush();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!renderer_.Compose().image().save(&buffer, "PNG"))
        return "the picture could not be encoded";
    return WriteRegularFile(path, png);
}

std::array<int, 3> RendererDrawing::Pixel(int x, int y) {
    renderer_.Flush();
    const QRgb p = renderer_.Compose().Pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

}  // namespace zonky
