#pragma once

#include "db/dberror.h"

#include <QByteArray>
#include <QStringList>

namespace dorvik::db {

class Connection;

// How a save that replaces stored rows through a scratch copy makes sure of what it writes:
//
//   copied = rowsStamp(c, {"select * from tmp01dl", ...});       // right after copying
//   runScript(c, batch, [&] { requireUnchanged(c, stored, copied); }); // the save
//   ... catch (const CommitUnknown&) { storedAsSent(c, stored, sent, {"id"}) ... }
//
// A stamp covers every value of every row the selects return, rows in any order; columns
// named in `ignored` are left out (an id the server assigns on insert).
QByteArray rowsStamp(Connection& connection, const QStringList& selects, const QStringList& ignored = {});

// The stored rows changed since the window copied them; the save wrote nothing.
class ChangedMeanwhile : public DbError {
public:
    ChangedMeanwhile() : DbError(QStringLiteral("Záznam mezitím změnila jiná stanice. Nic nebylo uloženo."), 0, {}) {}
};

// Inside the save's transaction: reads the stored rows and raises ChangedMeanwhile when they
// are not the rows whose stamp is `copied`. The first select is read with a lock: it names
// the row every writer of the record locks first (a document's header), so no other
// workstation changes the record until the commit, and the other selects, read once the lock
// is held, see what the last writer committed. Only that row is locked, no ranges of lines,
// so workstations saving other records never wait on it.
void requireUnchanged(Connection& connection, const QStringList& storedSelects, const QByteArray& copied);

// After a commit whose answer was lost (the connection is opened again): whether the stored
// rows are the rows that were sent. When the server cannot tell either, raises DbError with
// `unknownText`, its %1 replaced by the error's message.
bool storedAsSent(Connection& connection, const QStringList& storedSelects, const QStringList& sentSelects,
                  const QStringList& ignored, const QString& unknownText);

// A save whose commit answer was lost and which, as the stored rows show, did not go through.
// Nothing was written; the same save may be sent again.
class NotStored : public DbError {
public:
    explicit NotStored(const QString& message) : DbError(message, 0, {}) {}
};

} // namespace dorvik::db
