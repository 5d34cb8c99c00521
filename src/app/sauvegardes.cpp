#include "sauvegardes.h"

#include "demarrage.h"
#include "sauvegardeserveur.h"
#include "config/chemins.h"
#include "store/base.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "store/numeros.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>

namespace Sauvegardes {

namespace {

// The name the slots are made from: the file's, or for a server's
// database its name and ".dump".
QString nomDe(const QString& chemin)
{
    if (Dialecte::estAdresse(chemin)) {
        const auto adresse = Dialecte::lireAdresse(chemin);
        return adresse ? SauvegardeServeur::NomBase(*adresse) : QString();
    }
    return QFileInfo(chemin).fileName();
}

// The server's database has no file to check: pg_dump writes the slot.
Bilan copierServeur(const QString& adresse, int slot)
{
    Bilan bilan;
    const QString nom = nomDe(adresse);
    if (nom.isEmpty()) {
        Dialecte::lireAdresse(adresse, &bilan.detail);
        return bilan;
    }
    QDir().mkpath(Dossier());
    bilan.copie = Dossier() + QLatin1Char('/') + Demarrage::NomSauvegardeBase(nom, slot);
    QElapsedTimer chrono;
    chrono.start();
    const bool copiee = SauvegardeServeur::Sauvegarder(adresse, bilan.copie, &bilan.detail);
    bilan.msCopie = chrono.nsecsElapsed() / 1e6;
    bilan.issue = copiee ? Bilan::Copiee : Bilan::EchecCopie;
    return bilan;
}

// The extension of a database file name, dot included ("" when none).
QString extension(const QString& nomBase)
{
    const qsizetype point = nomBase.lastIndexOf(QLatin1Char('.'));
    return point <= 0 ? QString() : nomBase.mid(point);
}

enum class Verrou { Pose, Occupe, Aucun };

// Takes the database's write lock for a restore. A file in WAL mode first
// goes back to a rollback journal: its log is written into it and removed
// with its index, so that the file kept is whole and the backup put in its
// place meets no log of the older file. That needs every other connection
// closed: another program that has the file open leaves it Occupe.
Verrou verrouiller(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    if (q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) && q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return Verrou::Pose;
    return Dialecte::estOccupee(q.lastError().nativeErrorCode()) ? Verrou::Occupe : Verrou::Aucun;
}

// Copies a file under a temporary name beside the target, flushes it and
// renames it over the target.
bool copierFichier(const QString& source, const QString& cible, QString* erreur)
{
    const QString provisoire = CopieBase::nomProvisoire(cible);
    QFile::remove(provisoire);
    if (!QFile::copy(source, provisoire)) {
        QFile::remove(provisoire);
        *erreur = QStringLiteral("copie de %1 impossible vers %2").arg(source, QFileInfo(cible).absolutePath());
        return false;
    }
    return CopieBase::mettreEnPlace(provisoire, cible, erreur);
}

// The highest reservation number the current file gave, read before it is
// replaced (0 when it cannot be read: a damaged file gives what it can).
qint64 numerosDonnes(const std::optional<QSqlDatabase>& verrou, const QString& cheminBase)
{
    if (verrou)
        return Numeros::plusGrandUtilise(*verrou).value_or(0);
    if (!QFileInfo(cheminBase).isFile())
        return 0;
    const QString connexion = CopieBase::nouvelleConnexion(QStringLiteral("Numeros"));
    qint64 n = 0;
    {
        const auto base = CopieBase::ouvrir(cheminBase, connexion, true);
        if (base)
            n = Numeros::plusGrandUtilise(*base).value_or(0);
    }
    CopieBase::fermer(connexion);
    return n;
}

// The backup as it will be put in place: a copy of it, opened as the
// program opens its database (brought to the current schema), whose next
// reservation number follows `donnes`. The backup itself stays as it was.
// Empty, with the reason, on failure.
QString preparerCopie(const QString& sauvegarde, qint64 donnes, qint64* gardes, QString* erreur)
{
    const QString copie = CopieBase::nomProvisoire(Dossier() + QStringLiteral("/restauration_")
                                                   + QFileInfo(sauvegarde).fileName());
    QFile::remove(copie);
    if (!QFile::copy(sauvegarde, copie)) {
        *erreur = QStringLiteral("copie de %1 impossible vers %2").arg(sauvegarde, Dossier());
        return QString();
    }
    const QString connexion = CopieBase::nouvelleConnexion(QStringLiteral("Restauree"));
    bool preparee = false;
    {
        const auto base = Base::ouvrir(copie, Base::Ouverture::Existante, connexion, erreur);
        if (base) {
            const auto siens = Numeros::plusGrandUtilise(*base, erreur);
            preparee = siens && Numeros::suivantApres(*base, donnes, erreur);
            if (preparee && donnes > *siens)
                *gardes = donnes;
        }
    }
    CopieBase::fermer(connexion);
    if (!preparee) {
        *erreur = QStringLiteral("la sauvegarde ne s'ouvre pas comme base du planning : ") + *erreur;
        QFile::remove(copie);
        return QString();
    }
    return copie;
}

} // namespace

QString MessageNumerosGardes(qint64 n)
{
    return QString::fromUtf8("Les numéros de réservation jusqu'au n° %1, déjà donnés par la base remplacée, "
                             "ne seront pas redonnés : la prochaine réservation aura le n° %2.")
        .arg(n)
        .arg(n + 1);
}

QString NomCreneaux(const QString& cheminBase)
{
    return nomDe(cheminBase);
}

QString Dossier()
{
    return Chemins::dansDossier(QStringLiteral("Sauvegardes"));
}

std::optional<int> NumeroCreneau(const QString& nomBase, const QString& nomFichier)
{
    // The slot's name is the base's name with "_N" before its extension.
    const QString modele = Demarrage::NomSauvegardeBase(nomBase, 0);
    const qsizetype souligne = modele.size() - extension(nomBase).size() - 1;
    const QString debut = modele.left(souligne);
    const QString fin = modele.mid(souligne + 1);
    if (!nomFichier.startsWith(debut) || !nomFichier.endsWith(fin) || nomFichier.size() <= modele.size() - 1)
        return std::nullopt;
    const QString chiffres = nomFichier.mid(debut.size(), nomFichier.size() - debut.size() - fin.size());
    bool ok = false;
    const int n = chiffres.toInt(&ok);
    if (!ok || n < 0 || Demarrage::NomSauvegardeBase(nomBase, n) != nomFichier)
        return std::nullopt;
    return n;
}

QList<Creneau> Lister(const QString& cheminBase)
{
    const QString nomBase = nomDe(cheminBase);
    QList<Creneau> creneaux;
    if (nomBase.isEmpty())
        return creneaux;
    const QFileInfoList fichiers = QDir(Dossier()).entryInfoList(QDir::Files);
    for (const QFileInfo& f : fichiers) {
        const auto n = NumeroCreneau(nomBase, f.fileName());
        if (n)
            creneaux.append({*n, f.absoluteFilePath(), f.lastModified(), f.size()});
    }
    std::sort(creneaux.begin(), creneaux.end(), [](const Creneau& a, const Creneau& b) {
        return a.date != b.date ? a.date > b.date : a.numero > b.numero;
    });
    return creneaux;
}

QList<Creneau> ListerAvantRestauration(const QString& cheminBase)
{
    const QString nomBase = nomDe(cheminBase);
    QList<Creneau> gardees;
    if (nomBase.isEmpty())
        return gardees;
    const QString modele = NomAvantRestauration(nomBase, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    const QString fin = extension(nomBase);
    const QFileInfoList fichiers = QDir(Dossier()).entryInfoList(QDir::Files);
    for (const QFileInfo& f : fichiers) {
        const QString nom = f.fileName();
        // A date in the name, and the database's extension ("…db-wal" is a log).
        if (nom.size() != modele.size() || !nom.startsWith(QStringLiteral("avant_restauration_")) || !nom.endsWith(fin))
            continue;
        Creneau c{0, f.absoluteFilePath(), f.lastModified(), f.size()};
        c.avantRestauration = true;
        gardees.append(c);
    }
    std::sort(gardees.begin(), gardees.end(), [](const Creneau& a, const Creneau& b) {
        return a.date != b.date ? a.date > b.date : a.chemin > b.chemin;
    });
    return gardees;
}

Bilan ControlerEtCopier(const QString& cheminBase, int slot, int attenteMs)
{
    if (Dialecte::estAdresse(cheminBase))
        return copierServeur(cheminBase, slot);
    Bilan bilan;
    const QString connexion = CopieBase::nouvelleConnexion(QStringLiteral("Sauvegarde"));
    {
        const auto base = CopieBase::ouvrir(cheminBase, connexion, false, &bilan.detail, attenteMs);
        if (!base)
            return bilan;
        QElapsedTimer chrono;
        chrono.start();
        const CopieBase::Controle controle = CopieBase::controler(*base);
        bilan.msControle = chrono.nsecsElapsed() / 1e6;
        bilan.detail = controle.premiereLigne;
        // Only a check that ran can call the file damaged.
        if (controle.occupee) {
            bilan.issue = Bilan::Occupee;
        } else if (controle.endommagee) {
            bilan.issue = Bilan::Endommagee;
        } else if (!controle.saine) {
            bilan.issue = Bilan::Illisible;
        } else {
            QDir().mkpath(Dossier());
            bilan.copie = Dossier() + QLatin1Char('/') + Demarrage::NomSauvegardeBase(nomDe(cheminBase), slot);
            chrono.start();
            QString erreur;
            bool occupee = false;
            const bool copiee = CopieBase::copier(*base, bilan.copie, &erreur, &occupee);
            bilan.msCopie = chrono.nsecsElapsed() / 1e6;
            bilan.issue = copiee ? Bilan::Copiee : Bilan::EchecCopie;
            if (!copiee)
                bilan.detail = occupee ? QStringLiteral("base occupée par un autre poste") : erreur;
        }
    }
    CopieBase::fermer(connexion);
    return bilan;
}

CopieBase::Controle Verifier(const QString& chemin)
{
    const QString connexion = CopieBase::nouvelleConnexion(QStringLiteral("Verification"));
    CopieBase::Controle controle;
    {
        const auto base = CopieBase::ouvrir(chemin, connexion, true, &controle.premiereLigne);
        if (!base)
            return controle;
        controle = CopieBase::controler(*base);
    }
    CopieBase::fermer(connexion);
    return controle;
}

Examen Examiner(const QString& chemin)
{
    const QString connexion = CopieBase::nouvelleConnexion(QStringLiteral("Examen"));
    Examen examen;
    {
        const auto base = CopieBase::ouvrir(chemin, connexion, true, &examen.controle.premiereLigne);
        if (!base)
            return examen;
        examen.controle = CopieBase::controler(*base);
        // The arrivals are ISO texts: the greatest readable one is the last.
        QSqlQuery q(*base);
        if (q.exec(QStringLiteral("SELECT count(*), max(CASE WHEN DateDebut GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*' "
                                  "THEN substr(DateDebut, 1, 10) END) FROM RESERVATIONS"))
            && q.next()) {
            Contenu contenu;
            contenu.sejours = q.value(0).toLongLong();
            contenu.dernierSejour = QDate::fromString(q.value(1).toString(), QStringLiteral("yyyy-MM-dd"));
            examen.contenu = contenu;
        }
    }
    CopieBase::fermer(connexion);
    return examen;
}

std::optional<Creneau> DerniereSaine(const QString& cheminBase)
{
    for (const Creneau& c : Lister(cheminBase))
        if (Verifier(c.chemin).saine)
            return c;
    return std::nullopt;
}

QString NomAvantRestauration(const QString& nomBase, const QDateTime& moment)
{
    return QStringLiteral("avant_restauration_") + moment.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"))
         + extension(nomBase);
}

Restauration Restaurer(const QString& cheminBase, const QString& sauvegarde, int attenteMs)
{
    Restauration r;
    if (!QFileInfo(sauvegarde).isFile()) {
        r.erreur = QStringLiteral("la sauvegarde %1 n'existe pas").arg(sauvegarde);
        return r;
    }
    if (!QDir().mkpath(Dossier())) {
        r.erreur = QStringLiteral("le dossier %1 ne peut pas être créé").arg(Dossier());
        return r;
    }
    const QString connexion = CopieBase::nouvelleConnexion(QStringLiteral("Restauration"));
    {
        // A connection of our own holds the write lock while the file is
        // kept and replaced; its first read also rolls back a transaction
        // that a killed program left half done, so the kept file is whole.
        std::optional<QSqlDatabase> verrou;
        if (QFileInfo(cheminBase).isFile()) {
            verrou = CopieBase::ouvrir(cheminBase, connexion, false, nullptr, attenteMs);
            const Verrou v = verrou ? verrouiller(*verrou) : Verrou::Aucun;
            if (v == Verrou::Occupe) {
                r.erreur = QStringLiteral("la base est ouverte par un autre programme : fermez-le, puis recommencez");
                verrou.reset();
                CopieBase::fermer(connexion);
                return r;
            }
            if (v == Verrou::Aucun && verrou) {
                // Not SQLite, or damaged: kept as it is. Closing writes
                // into it what it can of its log.
                verrou->close();
                verrou.reset();
            }
        }
        // The restored file must not give again the numbers the current
        // one gave since the backup: its counter is raised before it is
        // put in place.
        const QString copie = preparerCopie(sauvegarde, numerosDonnes(verrou, cheminBase), &r.numerosGardes,
                                            &r.erreur);
        if (copie.isEmpty()) {
            if (verrou)
                QSqlQuery(*verrou).exec(QStringLiteral("ROLLBACK"));
            verrou.reset();
            CopieBase::fermer(connexion);
            return r;
        }
        if (QFileInfo(cheminBase).isFile()) {
            const QString nomBase = nomDe(cheminBase);
            QString garde = Dossier() + QLatin1Char('/') + NomAvantRestauration(nomBase, Horloge::maintenant());
            for (int i = 2; QFileInfo::exists(garde); ++i)
                garde = Dossier() + QLatin1Char('/')
                      + Demarrage::NomSauvegardeBase(NomAvantRestauration(nomBase, Horloge::maintenant()), i);
            if (!copierFichier(cheminBase, garde, &r.erreur)) {
                QFile::remove(copie);
                r.numerosGardes = 0;
                if (verrou)
                    QSqlQuery(*verrou).exec(QStringLiteral("ROLLBACK"));
                verrou.reset();
                CopieBase::fermer(connexion);
                return r;
            }
            r.gardee = garde;
            // A journal that could not be rolled back, or a log that could
            // not be written into the file, belongs to the kept file.
            for (const QString& suffixe : {QStringLiteral("-journal"), QStringLiteral("-wal")})
                if (QFileInfo::exists(cheminBase + suffixe))
                    QFile::rename(cheminBase + suffixe, garde + suffixe);
        }
        r.reussie = copierFichier(copie, cheminBase, &r.erreur);
        QFile::remove(copie);
        if (!r.reussie)
            r.numerosGardes = 0;
        if (verrou)
            QSqlQuery(*verrou).exec(QStringLiteral("ROLLBACK"));
    }
    CopieBase::fermer(connexion);
    return r;
}

} // namespace Sauvegardes
