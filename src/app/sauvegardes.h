#pragma once
// The database side of the backups: the snapshot of a start written into
// its slot once the database is checked, the list of the slots, and the
// restoring of one of them. No window: the start-up's worker thread, the
// restore window and the command line use these.
#include "store/copiebase.h"
#include "store/dialecte.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace Sauvegardes {

QString Dossier();   // program folder + "/Sauvegardes"

// The name the database's slots are made from: the file's name
// ("planning.db"), or for a server's database its name and ".dump"
// ("planning.dump": slots "planning_7.dump" written by pg_dump).
QString NomCreneaux(const QString& cheminBase);

// One backup slot of the database found in the folder.
struct Creneau {
    int numero = 0;
    QString chemin;
    QDateTime date;     // when it was written
    qint64 taille = 0;  // bytes
    bool avantRestauration = false;   // the database as it was before a restore (numero 0)
};

// The slot number of a backup file name of `nomBase` ("planning_7.db" of
// "planning.db" gives 7), nullopt for any other name.
std::optional<int> NumeroCreneau(const QString& nomBase, const QString& nomFichier);

// The database's slots in the folder, newest first.
QList<Creneau> Lister(const QString& cheminBase);

// The databases kept before each restore ("avant_restauration_<date>" with
// the database's extension), newest first.
QList<Creneau> ListerAvantRestauration(const QString& cheminBase);

// What a backup holds: its stays, and the arrival day of the last one
// (invalid when none has a readable date).
struct Contenu {
    qint64 sejours = 0;
    QDate dernierSejour;
};

// The check of a backup file and, when it could be read, what it holds.
struct Examen {
    CopieBase::Controle controle;
    std::optional<Contenu> contenu;
};
Examen Examiner(const QString& chemin);

// What the start's backup step did.
struct Bilan {
    enum Issue {
        Copiee,       // the database passed the check and its snapshot fills the slot
        Endommagee,   // the check ran and found damage: no slot was touched
        EchecCopie,   // sound, but the snapshot could not be written (the slot keeps its older copy)
        Illisible,    // the database could not be opened or read for the check
        Occupee,      // another program held the file past the wait: not checked, no slot touched
    };
    Issue issue = Illisible;
    QString detail;          // first line of the check, or the reason of the failure
    QString copie;           // the slot's file
    double msControle = 0;
    double msCopie = 0;
};

// Runs quick_check on the database, then, when it is sound, writes its
// snapshot into the slot. Uses a connection of its own: runs in any thread.
// A file held by another program is waited for up to `attenteMs`.
// A server's database is written into its slot by pg_dump (no check:
// EchecCopie with the reason when pg_dump is missing or fails).
Bilan ControlerEtCopier(const QString& cheminBase, int slot, int attenteMs = Dialecte::kAttenteMs);

// Checks a backup file (opened read-only on a connection of its own).
CopieBase::Controle Verifier(const QString& chemin);

// The newest slot that passes the check.
std::optional<Creneau> DerniereSaine(const QString& cheminBase);

// Name under which the current database is kept before a restore
// ("avant_restauration_2026-12-09_10-04-39.db").
QString NomAvantRestauration(const QString& nomBase, const QDateTime& moment);

struct Restauration {
    bool reussie = false;
    QString gardee;   // where the previous database was kept (empty when there was none)
    QString erreur;
    // The highest reservation number the replaced file had given, beyond
    // the backup's own: the restored file does not give them again (0 when
    // the backup already went as far).
    qint64 numerosGardes = 0;
};

// Replaces the database by a backup file. The program's own connection to
// the database must be closed. A database in WAL mode is first brought
// back to a rollback journal, its log written into it, which needs every
// other program closed (else nothing is changed). The current file is then
// kept in the backup folder as "avant_restauration_<date>" (with the log
// that could not be written into it, if any); a copy of the backup, brought
// to the current schema and made to number its next reservation after
// every number the current file gave, is then put in its place. On failure
// the database is left as it was. Another program is waited for up to
// `attenteMs`.
Restauration Restaurer(const QString& cheminBase, const QString& sauvegarde, int attenteMs = Dialecte::kAttenteMs);

// What the user is told of Restauration::numerosGardes.
QString MessageNumerosGardes(qint64 n);

} // namespace Sauvegardes
