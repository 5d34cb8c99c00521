#pragma once
// How an SQLite file keeps its transactions. On a local disk, a write-ahead
// log (WAL): readers (the calendar, the start's check and snapshot) never
// wait for a writer, and a writer never waits for them. On a network share
// (NFS, SMB/CIFS…) the log's index lives in shared memory that other
// machines cannot see: the file keeps its rollback journal there. In both
// modes every commit is flushed to disk (synchronous=FULL).
#include <QSqlDatabase>
#include <QString>

namespace Journalisation {

enum class Mode {
    Wal,         // write-ahead log beside the file ("-wal", "-shm")
    Classique,   // rollback journal ("-journal"), removed after each commit
    Inchange,    // the file keeps the mode it has (a folder we cannot write to)
};

// The name of a network file system from its statfs magic number ("NFS",
// "SMB", "CIFS"…), empty for a local one.
QString systemeReseau(quint32 magique);

// The network file system that holds the path (its folder), empty when it
// is local or cannot be told.
QString systemeReseauDe(const QString& chemin);

// The mode to ask for a file on that file system: WAL needs a local disk
// and a folder where its log can be created.
Mode choisir(const QString& reseau, bool dossierInscriptible);

// Sets the journal mode of a connection just opened on an SQLite file, as
// choisir() says; the first line on a network share says so on standard
// error (once per run). A file held by another program cannot change mode
// now: it keeps its own, and a later opening changes it. Empty when all went
// well, else the database's reason (a file that is not SQLite fails here).
QString regler(const QSqlDatabase& base);

// True when the file's header says WAL mode (what a program that opened it
// last asked for).
bool enteteWal(const QString& chemin);

// The file's log and its index ("<file>-wal", "<file>-shm").
QString nomWal(const QString& chemin);
QString nomShm(const QString& chemin);

} // namespace Journalisation
