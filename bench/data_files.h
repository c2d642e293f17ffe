#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

#include "app/module1.h"
#include "bench/silent_prompts.h"
#include "ui/main/form1.h"

namespace bench {

// The user every benchmark works as. In an office file the name is also the beginning of two
// colleagues' names (山田太郎, 山田花子), whose messages the lists show too.
QString user();

// A name that receives about 1.2 % of an office file's messages (one of the staff with the
// smallest share, whose name begins no colleague's name): 12,411 of 1,000,000 messages.
QString fewListedUser();

enum class FileKind {
    Office,  // a realistic office: a few dozen staff, the newest 40 messages unread
    AllTo,   // every message addressed to user(): the received list shows all of them
};

// Where the messages are kept: a data file, or a database on a server (see server_data.h).
enum class Engine { File, Server };
const char* engineName(Engine engine);

// A generated data file of count messages, made once and kept in the cache folder
// ($DULVANE_BENCH_CACHE, or dulvane-bench-cache in the temporary folder). Benchmarks that
// only read may use it directly; the window's received list marks messages read, so
// anything that writes works on a WorkCopy.
QString cachedDataFile(FileKind kind, std::int64_t count);

// The same messages on an engine: the cached file's path, or the URI of a server database
// filled from it once.
QString cachedData(Engine engine, FileKind kind, std::int64_t count);

// A private copy of cached data, removed at the end: a copied file, or a new server database
// made from the filled one.
class WorkCopy {
public:
    WorkCopy(FileKind kind, std::int64_t count, Engine engine = Engine::File);
    ~WorkCopy();
    WorkCopy(const WorkCopy&) = delete;
    WorkCopy& operator=(const WorkCopy&) = delete;
    // The data file's path or the server database's URI.
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
    QString database_;  // the server database's name, if on a server
};

// A main window on a data file as the program starts it: a settings file naming user() and
// the data file, a Form1 with silent prompts. The watch timer is stopped so that no tick
// falls into a measurement.
class Window {
public:
    explicit Window(const QString& dataPath, bool load = true);
    ~Window();

    // Form1 construction and Form_Load, as the program's start does.
    void start();
    // Shows the window and lets it lay out and paint.
    void showAndSettle();

    Module1 state;
    SilentPrompts prompts;
    std::unique_ptr<Form1> form;

private:
    QTemporaryDir dir_;
};

// Handles every posted event, paints included: what the user waits for after a click.
void settle();

}  // namespace bench
