#include "requetes_editeurs.h"

#include "dialecte.h"

#include "dates.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace RequetesEditeurs {

namespace {

bool dire(QString* erreur, const QString& texte)
{
    if (erreur)
        *erreur = texte;
    return false;
}

using Requetes::EnTransaction;

bool echec(const QSqlQuery& q, QString* erreur)
{
    return Requetes::Rapporter(q, erreur);
}

// Runs one statement in its own transaction; false rolls it back.
template <typename Preparer>
bool executerSeul(const QSqlDatabase& base, const QString& sql, Preparer preparer, QString* erreur,
                  int* lignesTouchees = nullptr)
{
    return EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(sql);
        preparer(q);
        if (!q.exec())
            return echec(q, erreur);
        if (lignesTouchees)
            *lignesTouchees = q.numRowsAffected();
        return true;
    });
}

std::optional<qint64> compter(const QSqlDatabase& base, const QString& sql, qint64 valeur, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(sql);
    q.bindValue(0, valeur);
    if (!q.exec() || !q.next()) {
        echec(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

// The stays that still use a unit or a state (`colonne` = ?), said as the
// settings show them: "n° 4 (Dupont), n° 7 (Martin)…", ten at the most.
std::optional<QString> sejoursUtilisant(const QSqlDatabase& base, const char* colonne, qint64 valeur, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT NumeroReservation, nomclient FROM RESERVATIONS WHERE %1 = ? "
                             "ORDER BY NumeroReservation").arg(QLatin1String(colonne)));
    q.bindValue(0, valeur);
    if (!q.exec()) {
        echec(q, erreur);
        return std::nullopt;
    }
    QStringList l;
    qint64 nombre = 0;
    while (q.next()) {
        if (++nombre <= 10)
            l << QStringLiteral("n° %1 (%2)").arg(q.value(0).toLongLong()).arg(q.value(1).toString().trimmed());
    }
    QString texte = l.join(QStringLiteral(", "));
    if (nombre > 10)
        texte += QStringLiteral(" et %1 autre%2").arg(nombre - 10).arg(nombre - 10 > 1 ? QStringLiteral("s") : QString());
    return texte;
}

QVariant texteOuNull(const QVariant& v)
{
    if (v.isNull() || v.toString().trimmed().isEmpty())
        return QVariant(QMetaType(QMetaType::QString));
    return v.toString().trimmed();
}

} // namespace

bool ajouterObjet(const QSqlDatabase& base, const Requetes::Objet& objet, QString* erreur)
{
    if (objet.nom.toString().trimmed().isEmpty())
        return dire(erreur, QStringLiteral("Le nom du logement ne peut pas être vide."));
    const auto existe = compter(base, QStringLiteral("SELECT count(*) FROM OBJETS WHERE Numero = ?"), objet.numero, erreur);
    if (!existe)
        return false;
    if (*existe > 0)
        return dire(erreur, QStringLiteral("Le numéro %1 est déjà celui d'un autre logement.").arg(objet.numero));
    return executerSeul(base, QStringLiteral("INSERT INTO OBJETS (Numero, Nom, NomInternet, FichierPlanningHTML, Categorie) "
                                       "VALUES (?, ?, ?, ?, ?)"),
        [&](QSqlQuery& q) {
            q.addBindValue(objet.numero);
            q.addBindValue(objet.nom.toString().trimmed());
            q.addBindValue(texteOuNull(objet.nomInternet));
            q.addBindValue(texteOuNull(objet.fichierPlanningHTML));
            q.addBindValue(objet.categorie.trimmed());
        }, erreur);
}

bool modifierObjet(const QSqlDatabase& base, const Requetes::Objet& objet, QString* erreur)
{
    if (objet.nom.toString().trimmed().isEmpty())
        return dire(erreur, QStringLiteral("Le nom du logement ne peut pas être vide."));
    int touchees = 0;
    if (!executerSeul(base, QStringLiteral("UPDATE OBJETS SET Nom = ?, NomInternet = ?, FichierPlanningHTML = ?, "
                                     "Categorie = ? WHERE Numero = ?"),
            [&](QSqlQuery& q) {
                q.addBindValue(objet.nom.toString().trimmed());
                q.addBindValue(texteOuNull(objet.nomInternet));
                q.addBindValue(texteOuNull(objet.fichierPlanningHTML));
                q.addBindValue(objet.categorie.trimmed());
                q.addBindValue(objet.numero);
            }, erreur, &touchees))
        return false;
    return touchees == 1 || dire(erreur, QStringLiteral("Le logement %1 n'existe plus.").arg(objet.numero));
}

bool supprimerObjet(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    const auto nombre = compter(base, QStringLiteral("SELECT count(*) FROM RESERVATIONS WHERE objet = ?"), numero, erreur);
    if (!nombre)
        return false;
    if (*nombre > 0) {
        const auto lesquels = sejoursUtilisant(base, "objet", numero, erreur);
        return lesquels && dire(erreur, QStringLiteral("Ce logement a encore %1 réservation%2 (%3) : il ne peut pas être supprimé.")
                                            .arg(*nombre).arg(*nombre > 1 ? QStringLiteral("s") : QString(), *lesquels));
    }
    // Its calendar feeds go with it.
    return EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        for (const QString& sql : {QStringLiteral("DELETE FROM OBJETS WHERE Numero = ?"),
                                   QStringLiteral("DELETE FROM FLUX WHERE objet = ?")}) {
            q.prepare(sql);
            q.addBindValue(numero);
            if (!q.exec())
                return echec(q, erreur);
        }
        return true;
    });
}

std::optional<qint32> prochainNumeroObjet(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT coalesce(max(Numero), 0) + 1 FROM OBJETS")) || !q.next()) {
        echec(q, erreur);
        return std::nullopt;
    }
    return qint32(q.value(0).toLongLong());
}

std::optional<QList<LigneArticle>> articles(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT rowid, Famille, Libelle, prixTTC, tauxTVA FROM CONSOMMATIONS "
                                "ORDER BY Famille, rowid"))) {
        echec(q, erreur);
        return std::nullopt;
    }
    QList<LigneArticle> lignes;
    while (q.next()) {
        // An article stored before rates were kept sells at the usual rate.
        const double taux = q.value(4).isNull() ? Requetes::Article().tauxTVA : q.value(4).toDouble();
        lignes.append({q.value(0).toLongLong(),
                       {q.value(1).toString(), q.value(2).toString(), q.value(3).toDouble(), taux}});
    }
    return lignes;
}

namespace {
bool articleValide(const Requetes::Article& a, QString* erreur)
{
    if (a.libelle.trimmed().isEmpty())
        return dire(erreur, QStringLiteral("Le libellé de l'article ne peut pas être vide."));
    if (!std::isfinite(a.prixTTC))
        return dire(erreur, QStringLiteral("Le prix de l'article n'est pas un nombre."));
    if (!(a.tauxTVA >= 0 && a.tauxTVA <= 100))
        return dire(erreur, QStringLiteral("Le taux de TVA de l'article doit être compris entre 0 et 100 %."));
    return true;
}
} // namespace

std::optional<qint64> ajouterArticle(const QSqlDatabase& base, const Requetes::Article& a, QString* erreur)
{
    if (!articleValide(a, erreur))
        return std::nullopt;
    qint64 id = 0;
    const bool ok = EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC, tauxTVA) VALUES (?, ?, ?, ?)")
                  + Dialecte::retourNumero(base, QStringLiteral("rowid")));
        q.addBindValue(a.famille.trimmed());
        q.addBindValue(a.libelle.trimmed());
        q.addBindValue(std::round(a.prixTTC * 100.0) / 100.0);
        q.addBindValue(a.tauxTVA);
        if (!q.exec())
            return echec(q, erreur);
        id = Dialecte::numeroInsere(q).value_or(0);
        return true;
    });
    if (!ok)
        return std::nullopt;
    return id;
}

bool modifierArticle(const QSqlDatabase& base, qint64 id, const Requetes::Article& a, QString* erreur)
{
    if (!articleValide(a, erreur))
        return false;
    int touchees = 0;
    if (!executerSeul(base, QStringLiteral("UPDATE CONSOMMATIONS SET Famille = ?, Libelle = ?, prixTTC = ?, tauxTVA = ? "
                                     "WHERE rowid = ?"),
            [&](QSqlQuery& q) {
                q.addBindValue(a.famille.trimmed());
                q.addBindValue(a.libelle.trimmed());
                q.addBindValue(std::round(a.prixTTC * 100.0) / 100.0);
                q.addBindValue(a.tauxTVA);
                q.addBindValue(id);
            }, erreur, &touchees))
        return false;
    return touchees == 1 || dire(erreur, QStringLiteral("Cet article n'existe plus."));
}

bool supprimerArticle(const QSqlDatabase& base, qint64 id, QString* erreur)
{
    return executerSeul(base, QStringLiteral("DELETE FROM CONSOMMATIONS WHERE rowid = ?"),
                        [&](QSqlQuery& q) { q.addBindValue(id); }, erreur);
}

std::optional<qint32> ajouterEtat(const QSqlDatabase& base, const QString& nom, qint32 couleur, QString* erreur)
{
    if (nom.trimmed().isEmpty()) {
        dire(erreur, QStringLiteral("Le nom de l'état ne peut pas être vide."));
        return std::nullopt;
    }
    qint32 code = 0;
    // Under the write lock, so that two desks adding a state never pick one code.
    const bool ok = Requetes::EnTransactionEcriture(base, erreur, [&] {
        QSqlQuery q(base);
        if (!q.exec(QStringLiteral("SELECT coalesce(max(Code), 0) + 1 FROM ETATS")) || !q.next())
            return echec(q, erreur);
        code = qint32(q.value(0).toLongLong());
        q.prepare(QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) "
                                 "VALUES (?, ?, ?, 0, 0)"));
        q.addBindValue(code);
        q.addBindValue(nom.trimmed());
        q.addBindValue(couleur);
        return q.exec() || echec(q, erreur);
    });
    if (!ok)
        return std::nullopt;
    return code;
}

bool renommerEtat(const QSqlDatabase& base, qint32 code, const QString& nom, QString* erreur)
{
    if (nom.trimmed().isEmpty())
        return dire(erreur, QStringLiteral("Le nom de l'état ne peut pas être vide."));
    int touchees = 0;
    if (!executerSeul(base, QStringLiteral("UPDATE ETATS SET Nom = ? WHERE Code = ?"),
            [&](QSqlQuery& q) {
                q.addBindValue(nom.trimmed());
                q.addBindValue(code);
            }, erreur, &touchees))
        return false;
    return touchees == 1 || dire(erreur, QStringLiteral("L'état %1 n'existe plus.").arg(code));
}

bool supprimerEtat(const QSqlDatabase& base, qint32 code, QString* erreur)
{
    const auto nombre = compter(base, QStringLiteral("SELECT count(*) FROM RESERVATIONS WHERE Etat = ?"), code, erreur);
    if (!nombre)
        return false;
    if (*nombre > 0) {
        const auto lesquels = sejoursUtilisant(base, "Etat", code, erreur);
        return lesquels && dire(erreur, QStringLiteral("Cet état est celui de %1 réservation%2 (%3) : il ne peut pas être supprimé.")
                                            .arg(*nombre).arg(*nombre > 1 ? QStringLiteral("s") : QString(), *lesquels));
    }
    return executerSeul(base, QStringLiteral("DELETE FROM ETATS WHERE Code = ?"),
                        [&](QSqlQuery& q) { q.addBindValue(code); }, erreur);
}

std::optional<QList<Requetes::Reservation>> chevauchements(const QSqlDatabase& base, qint32 objet,
    const QDateTime& debut, const QDateTime& fin, qint32 sauf, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS WHERE objet = ? AND NumeroReservation <> ? AND Annulation IS NULL "
                             "AND replace(DateDebut, 'T', ' ') < ? AND replace(DateFin, 'T', ' ') > ? "
                             "ORDER BY DateDebut, NumeroReservation"));
    q.addBindValue(objet);
    q.addBindValue(sauf);
    q.addBindValue(Dates::versTexteBase(fin));
    q.addBindValue(Dates::versTexteBase(debut));
    if (!q.exec()) {
        echec(q, erreur);
        return std::nullopt;
    }
    QList<qint32> numeros;
    while (q.next())
        numeros.append(q.value(0).toInt());
    QList<Requetes::Reservation> lignes;
    for (qint32 n : numeros)
        if (auto r = Requetes::reservation(base, n, erreur))
            lignes.append(*r);
    return lignes;
}

} // namespace RequetesEditeurs
