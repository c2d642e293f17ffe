#include "bench/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <stdexcept>

#include "bench/server_data.h"
#include "store/schema.h"
#include "tools/generate.h"

namespace bench {
namespace {

// Bumped whenever the generator makes different files, so stale cached files are not used.
constexpr int kGeneratorVersion = 3;  // 3: the added columns and tables

QString cacheFolder() {
    QString folder = qEnvironmentVariable("DULVANE_BENCH_CACHE");
    if (folder.isEmpty()) {
        folder = QDir::temp().filePath(QStringLiteral("dulvane-bench-cache"));
    }
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

QString user() {
    return QStringLiteral("山田");
}

QString fewListedUser() {
    return QStringLiteral("清水");
}

const char* engineName(Engine engine) {
    return engine == Engine::File ? "file" : "server";
}

QString cachedDataFile(FileKind kind, std::int64_t count) {
    const QString name =
        QStringLiteral("%1-v%2-%3.mdb")
            .arg(kind == FileKind::Office ? QStringLiteral("office") : QStringLiteral("allto"))
            .arg(kGeneratorVersion)
            .arg(count);
    const QString path = QDir(cacheFolder()).filePath(name);
    if (QFileInfo::exists(path)) {
        return path;
    }
    // Made under another name and renamed when complete, so an interrupted run leaves no
    // partial file behind under the real name.
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    tools::GenerateOptions options;
    options.count = count;
    options.seed = 1;
    if (kind == FileKind::AllTo) {
        options.allTo = user();
    }
    tools::generateDataFile(partial, options);
    if (!QFile::rename(partial, path)) {
        throw std::runtime_error("cannot rename the generated data file");
    }
    return path;
}

QString cachedData(Engine engine, FileKind kind, std::int64_t count) {
    if (engine == Engine::Server) {
        return serverDatabase(cachedServerDatabase(kind, count));
    }
    return cachedDataFile(kind, count);
}

WorkCopy::WorkCopy(FileKind kind, std::int64_t count, Engine engine) {
    if (engine == Engine::Server) {
        static std::atomic<int> made{0};
        database_ =
            QStringLiteral("bench_work_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
        createServerDatabase(database_, cachedServerDatabase(kind, count));
        path_ = serverDatabase(database_);
        return;
    }
    path_ = dir_.filePath(QStringLiteral("dulvane.mdb"));
    if (!QFile::copy(cachedDataFile(kind, count), path_)) {
        throw std::runtime_error("cannot copy the data file");
    }
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
}

WorkCopy::~WorkCopy() {
    if (!database_.isEmpty()) {
        try {
            dropServerDatabase(database_);
        } catch (const std::exception&) {
            // Left behind on a throwaway server; the next run's copies have other names.
        }
    }
}

Window::Window(const QString& dataPath, bool load) {
    state.iniPath = dir_.filePath(QStringLiteral("DULVANE.INI"));
    store::schema::createSettingsFile(state.iniPath, user(), dataPath);
    if (load) {
        start();
    }
}

Window::~Window() = default;

void Window::start() {
    form = std::make_unique<Form1>(state, prompts);
    form->Timer1->stop();
    form->Form_Load();
    // What start-up itself told (an older data file's missing marks) is not what is measured.
    prompts.informed = 0;
}

void Window::showAndSettle() {
    form->show();
    settle();
}

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

}  // namespace bench
