#include "store/file/file_problems.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "store/file/file_identity.h"

namespace store::file {

std::optional<Error> fileProblem(const QString& path, bool forWriting) {
    const PathCheck check = checkPath(path, forWriting);
    switch (check.problem) {
        case PathProblem::None:
            return std::nullopt;
        case PathProblem::Missing:
            return engineError(SQLITE_CANTOPEN,
                               QStringLiteral("ファイルが見つかりません: %1").arg(path));
        case PathProblem::FolderNotSearchable:
            return Error(Error::Kind::NoPermission,
                         QStringLiteral("フォルダに入る権限がありません: %1（データファイル %2）")
                             .arg(check.where, path),
                         QString::number(SQLITE_PERM));
        case PathProblem::FileNotReadable:
            return Error(Error::Kind::NoPermission,
                         QStringLiteral("データファイルを読む権限がありません: %1").arg(path),
                         QString::number(SQLITE_PERM));
        case PathProblem::FileNotWritable:
            return engineError(
                SQLITE_READONLY,
                QStringLiteral("データファイルに書き込めません（読み取り専用です）: %1").arg(path));
        case PathProblem::FolderNotWritable:
            return Error(Error::Kind::NoPermission,
                         QStringLiteral("データファイルのフォルダにファイルを作る権限がありません"
                                        "（書き込みのたびに隣に一時ファイル %1-journal を作ります）"
                                        ": %2")
                             .arg(QFileInfo(path).fileName(), check.where),
                         QString::number(SQLITE_PERM));
        case PathProblem::ReadOnlyFileSystem:
            return engineError(
                SQLITE_READONLY,
                QStringLiteral("データファイルのあるファイルシステムが読み取り専用です: %1")
                    .arg(check.where));
    }
    return std::nullopt;
}

Error explained(const Error& engine, const QString& path, bool forWriting) {
    if (std::optional<Error> problem = fileProblem(path, forWriting)) {
        return Error(problem->kind(),
                     QStringLiteral("%1 (%2)").arg(problem->message(), engine.message()),
                     problem->engineCode());
    }
    return engine;
}

}  // namespace store::file
