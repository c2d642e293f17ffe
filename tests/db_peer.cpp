// Another workstation's process for the tests, working on the same file through SQLite itself.
//   db_peer hold-exclusive PATH   takes an exclusive lock, prints "locked", holds it until
//                                 standard input closes
//   db_peer insert PATH           inserts one message without waiting for locks; exit 0 when
//                                 it was stored, 3 when the file was busy, 1 on other errors
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: db_peer hold-exclusive|insert PATH\n");
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[2], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "open: %s\n", sqlite3_errmsg(db));
        return 1;
    }
    if (std::strcmp(argv[1], "hold-exclusive") == 0) {
        if (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "lock: %s\n", sqlite3_errmsg(db));
            return 1;
        }
        std::cout << "locked" << std::endl;
        std::string line;
        while (std::getline(std::cin, line)) {
        }
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return 0;
    }
    if (std::strcmp(argv[1], "insert") == 0) {
        const int rc =
            sqlite3_exec(db,
                         "INSERT INTO MEMO_T (宛名,相手,受人,メモ,内外線,電話,受付日時) "
                         "VALUES ('peer','peer','peer','from another process','内線','-',"
                         "'2026/12/07 10:00')",
                         nullptr, nullptr, nullptr);
        sqlite3_close(db);
        if (rc == SQLITE_OK) {
            return 0;
        }
        return (rc & 0xff) == SQLITE_BUSY ? 3 : 1;
    }
    return 2;
}
