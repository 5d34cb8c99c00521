#pragma once
// The start-up steps that touch no window: configuration, rotating backups
// of the database and the executable, opening the database, reading the
// states. The windows' side of the start-up is in lanceur.
#include "store/contexte.h"

#include <QString>
#include <QTextStream>
#include <optional>

namespace Demarrage {

QString CheminIniParDefaut();                        // program folder + exe + ".ini"
QString CheminBaseParDefaut();                       // program folder + exe + ".db"
QString NomBaseParDefaut();                          // exe + ".db"

// The database the INI file names ("system"/"database", mode 2). The
// default is written relative to the INI file's folder ("planning.db"), so
// that a copied or moved data folder keeps its own database. An absolute
// default that an earlier version wrote for another data folder, while this
// folder holds its own file of that name, is read as this folder's file and
// written again relative (a line on standard error says so); any other
// absolute path stays as the owner wrote it.
QString LireCheminBase(const QString& cheminINI);

// The file a "database=" value names: a server's address as it is, a
// relative path from the INI file's folder, an absolute path as it is.
QString ResoudreCheminBase(const QString& valeur, const QString& dossierIni);
// True when `valeur` is the default an earlier version wrote for another
// data folder ("<other folder>/planning.db", that folder gone or holding its
// own planning.ini) while `dossierIni` holds its own "planning.db": the
// folder was copied or moved since.
bool DefautDUnAutreDossier(const QString& valeur, const QString& dossierIni);

// Name of the backup of a database file in slot n: its extension is kept
// ("planning.db" -> "planning_7.db").
QString NomSauvegardeBase(const QString& nomFichier, int n);

struct Sauvegarde {
    int slot = 0;
    bool executableCopie = false;
};
// Creates "Sauvegardes", picks the next slot from "sauvegardes numero" and
// "sauvegardes nombre" under the lock file "Sauvegardes/.verrou", stores it,
// and copies the executable into it (replacing that slot's older copy).
// Failures of the folder or the copy are silent; the slot always advances.
// The database of the slot is written once it is open and checked.
Sauvegarde Sauvegarder(const QString& cheminINI, const QString& cheminBase);

qint16 LireNbClignotements(const QString& cheminINI);
QString LireModeleBarre(const QString& cheminINI);

// Opens the database: created with its schema when missing at the default
// path; anything else that is not this program's database fails.
std::optional<QSqlDatabase> OuvrirBase(const QString& cheminBase, QString* erreur = nullptr);
QString MessageEchecOuverture(const QString& cheminBase);
// The same, with the reason on a second line (what the user is shown).
QString MessageEchecOuverture(const QString& cheminBase, const QString& raison);

// The configuration and the database of a run without window (publication,
// cash report, synchronisation…). No backup slot is taken: the nightly runs
// must not push the backups of the days' real starts out of the rotation.
// nullopt when the database does not open; the message is then on `erreurs`.
struct BaseSansFenetre {
    QString cheminINI;
    QSqlDatabase base;
};
std::optional<BaseSansFenetre> OuvrirSansFenetre(QTextStream& erreurs);

constexpr const char* kConnexion = "BaseOuverte";

} // namespace Demarrage
