#include "tools/admin/terminal.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define DULVANE_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define DULVANE_ISATTY(f) isatty(fileno(f))
#endif

namespace admin {
namespace {

// Work this large shows a bar at once; smaller work only once it has taken this long.
constexpr std::int64_t kLargeWork = 10000;
constexpr qint64 kSlowMs = 2000;
constexpr qint64 kRedrawMs = 200;
constexpr int kBarWidth = 30;

}  // namespace

bool stdinIsTerminal() {
    return DULVANE_ISATTY(stdin) != 0;
}

bool stderrIsTerminal() {
    return DULVANE_ISATTY(stderr) != 0;
}

Progress::Progress(QString label, std::int64_t total)
    : label_(std::move(label)), total_(total), terminal_(stderrIsTerminal()) {
    started_.start();
}

Progress::~Progress() {
    finish();
}

void Progress::update(std::int64_t done) {
    if (!terminal_) {
        return;
    }
    const qint64 now = started_.elapsed();
    if (!shown_ && total_ < kLargeWork && now < kSlowMs) {
        return;
    }
    if (shown_ && now - lastDrawMs_ < kRedrawMs && done < total_) {
        return;
    }
    shown_ = true;
    lastDrawMs_ = now;
    const double part = total_ > 0 ? double(std::min(done, total_)) / double(total_) : 1.0;
    const int filled = int(part * kBarWidth);
    const QByteArray line =
        QStringLiteral("\r%1 [%2%3] %4% (%5/%6)")
            .arg(label_, QString(filled, u'#'), QString(kBarWidth - filled, u' '))
            .arg(int(part * 100))
            .arg(done)
            .arg(total_)
            .toUtf8();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

void Progress::finish() {
    if (shown_) {
        std::fputs("\n", stderr);
        std::fflush(stderr);
        shown_ = false;
    }
    terminal_ = false;
}

}  // namespace admin
