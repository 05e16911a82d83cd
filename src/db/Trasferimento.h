#pragma once

#include <QString>

namespace db {

class Connection;

// Writes the whole content of one database into another of this program (a
// file onto a server, a server's copy back into it), in one transaction on the
// destination: every table of the source that the destination holds, its rows
// in the order they were added, the destination's previous rows removed.
// Throws DbError; on failure the destination is left as it was.
void copiaContenuto(Connection& da, Connection& a);

} // namespace db
