// Holds a data file locked the way another program would: opens it, starts
// an exclusive transaction, says "locked", and keeps the lock until its
// standard input closes.
#include <iostream>
#include <sqlite3.h>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    sqlite3* db = nullptr;
    if (sqlite3_open(argv[1], &db) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 1;
    std::cout << "locked" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}
