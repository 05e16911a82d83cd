#pragma once

#include "db/Database.h"

// The data environment: the program's single connection to its database. Every
// part of the program reaches the data through CorsiDB; re-opening it (after a
// backup, a restore or an exclusive update) happens in place, so nobody keeps a
// stale handle.
struct DE {
    db::Connection CorsiDB;
};
