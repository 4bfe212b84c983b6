// The data file velkin.db: its schema, its creation and the program's one
// connection to it.
#pragma once

#include <memory>
#include <string>

#include "storage/sqlite.h"

// program_folder() + "velkin.db"
std::string data_file_path();

// The program's connection, open from start-up to shutdown; null otherwise.
extern std::unique_ptr<TSQLiteDatabase> app_database;

// app_database, or an error when the data file is not open (before the
// start-up or after the shutdown), so that no operation reaches a closed
// connection.
TSQLiteDatabase& open_app_database();

// Creates the data file when it is missing or of zero length (under a
// temporary name, renamed to velkin.db only when every creation statement
// succeeded; a leftover temporary file is removed first) and opens
// app_database on it.  A file that exists is opened unchanged, once it is
// known to be a data file of the program: a file that is no database, is
// damaged, lacks the program's tables, or stays locked by another program
// for a few seconds raises "Failed to open database "<path>" : <why>" and
// is left as it was.  Errors propagate.
void open_data_file();

// Builds a complete new data file at `path` with the program's schema and
// version row.  Used by open_data_file; exposed for tools and tests.
void create_data_file(const std::string& path);
