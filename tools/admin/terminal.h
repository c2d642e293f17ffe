#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>

// What dulvane-admin needs of the terminal: whether a person is at it, and a progress bar.
namespace admin {

bool stdinIsTerminal();
bool stderrIsTerminal();

// A progress bar on stderr for long work: shown only when stderr is a terminal, and only once
// the work is large (many items) or has taken a while; redrawn a few times a second.
class Progress {
public:
    Progress(QString label, std::int64_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void update(std::int64_t done);
    void setTotal(std::int64_t total) { total_ = total; }
    // Ends the bar's line, if one was drawn.
    void finish();

private:
    QString label_;
    std::int64_t total_;
    bool terminal_;
    bool shown_ = false;
    QElapsedTimer started_;
    qint64 lastDrawMs_ = -1;
};

}  // namespace admin
