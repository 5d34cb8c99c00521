#include "requetes_journee.h"

#include "dates.h"
#include "module1.h"
#include "requetes.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace RequetesJournee {

namespace {

const char* const kTable = "RECHERCHE_RESERVATIONS";

// The telephone as the index keeps it: its digits together, so that a
// number typed with or without spaces finds it.
QString chiffres(const QString& colonne)
{
    QString e = QStringLiteral("coalesce(%1, '')").arg(colonne);
    for (const char* s : {" ", ".", "-", "/", "(", ")", "+"})
        e = QStringLiteral("replace(%1, '%2', '')").arg(e, QLatin1String(s));
    return QStringLiteral("replace(%1, char(9), '')").arg(e);
}

QString valeursIndex(const QString& ligne)
{
    return QStringLiteral("%1.NumeroReservation, %1.nomclient, %2, %1.email, %1.remarque")
        .arg(ligne, chiffres(ligne + QStringLiteral(".telephone")));
}

// The columns of Sejour, read by lire() in this order.
const char* const kColonnes =
    "SELECT r.NumeroReservation, r.objet, o.Nom, r.nomclient, r.DateDebut, r.DateFin, r.nbadultes, "
    "r.nbenfants, r.Etat, e.Code, e.Nom, e.CouleurPrincipale, "
    "(SELECT total(prix) FROM OPERATIONS WHERE numeroreservation = r.NumeroReservation), "
    "r.telephone, r.email "
    "FROM RESERVATIONS r LEFT JOIN OBJETS o ON o.Numero = r.objet LEFT JOIN ETATS e ON e.Code = r.Etat ";

Sejour lire(const QSqlQuery& q)
{
    Sejour s;
    s.numero = q.value(0).toInt();
    s.objet = q.value(1).toInt();
    s.unite = q.value(2).toString();
    s.client = q.value(3).toString();
    s.debut = Dates::depuisBase(q.value(4));
    s.fin = Dates::depuisBase(q.value(5));
    s.nbadultes = q.value(6).toInt();
    s.nbenfants = q.value(7).toInt();
    s.etat = q.value(8).toInt();
    s.etatTrouve = !q.value(9).isNull();
    s.nomEtat = q.value(10).toString();
    s.couleur = q.value(11).toInt();
    s.solde = q.value(12).toDouble();
    s.telephone = q.value(13).toString();
    s.email = q.value(14).toString();
    return s;
}

std::optional<QList<Sejour>> lireTout(QSqlQuery& q, QString* erreur)
{
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Sejour> sejours;
    while (q.next()) {
        Sejour s = lire(q);
        // A date that cannot be read places the stay nowhere.
        if (s.debut.isValid() && s.fin.isValid())
            sejours.append(s);
    }
    return sejours;
}

bool separateurTelephone(QChar c)
{
    return c.isSpace() || QStringLiteral(".-/()+").contains(c);
}

// At most this many terms are searched; the rest of a pasted text is ignored.
constexpr int kTermesMax = 12;

} // namespace

QStringList InstructionsIndexRecherche()
{
    const QString table = QLatin1String(kTable);
    return {
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS %1 USING fts5(nomclient, telephone, email, remarque, "
                       "tokenize='unicode61 remove_diacritics 2', prefix='2 3')").arg(table),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS recherche_ajout AFTER INSERT ON RESERVATIONS BEGIN "
                       "INSERT INTO %1 (rowid, nomclient, telephone, email, remarque) VALUES (%2); END")
            .arg(table, valeursIndex(QStringLiteral("new"))),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS recherche_suppression AFTER DELETE ON RESERVATIONS BEGIN "
                       "DELETE FROM %1 WHERE rowid = old.NumeroReservation; END").arg(table),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS recherche_modification AFTER UPDATE OF NumeroReservation, "
                       "nomclient, telephone, email, remarque ON RESERVATIONS BEGIN "
                       "DELETE FROM %1 WHERE rowid = old.NumeroReservation; "
                       "INSERT INTO %1 (rowid, nomclient, telephone, email, remarque) VALUES (%2); END")
            .arg(table, valeursIndex(QStringLiteral("new"))),
        // The day's lists read the stays by their end, and the search by
        // their arrival.
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_fin_debut ON RESERVATIONS(DateFin, DateDebut)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_debut ON RESERVATIONS(DateDebut)"),
    };
}

QString InstructionRemplirIndexRecherche()
{
    return QStringLiteral("INSERT INTO %1 (rowid, nomclient, telephone, email, remarque) SELECT %2 FROM RESERVATIONS r")
        .arg(QLatin1String(kTable), valeursIndex(QStringLiteral("r")));
}

std::optional<QList<Sejour>> sejoursAutourDe(const QSqlDatabase& base, const QDate& jour, QString* erreur)
{
    QSqlQuery q(base);
    // The end's index bounds the read; the arrival is checked in that index
    // (the "+" keeps the planner off the arrival's own index).
    q.prepare(QLatin1String(kColonnes)
              + QStringLiteral("WHERE r.DateFin >= :jour AND +r.DateDebut < :lendemain "
                               "AND r.nomclient IS NOT NULL ORDER BY o.Nom, r.objet, r.DateDebut"));
    q.bindValue(QStringLiteral(":jour"), Dates::versTexteBase(jour).left(10));
    q.bindValue(QStringLiteral(":lendemain"), Dates::versTexteBase(jour.addDays(1)).left(10));
    return lireTout(q, erreur);
}

Expression expressionRecherche(const QString& texte)
{
    Expression e;
    const QString t = texte.trimmed();
    if (t.size() < 2)
        return e;
    bool telephone = true;
    QString numeros;
    for (const QChar c : t) {
        if (c.isDigit() && c.unicode() < 128)
            numeros += c;
        else if (!separateurTelephone(c))
            telephone = false;
    }
    if (telephone && numeros.size() >= 2) {
        e.fts = QLatin1Char('"') + numeros + QStringLiteral("\"*");
        bool ok = false;
        const qint32 n = t.toInt(&ok);
        if (ok && n > 0)
            e.numero = n;
        return e;
    }
    QStringList termes;
    for (const QString& mot : t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        // A term with neither letter nor digit holds no word for the index.
        bool utile = false;
        for (const QChar c : mot)
            utile = utile || c.isLetterOrNumber();
        if (!utile)
            continue;
        QString cite = mot;
        cite.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        termes << QLatin1Char('"') + cite + QStringLiteral("\"*");
        if (termes.size() == kTermesMax)
            break;
    }
    e.fts = termes.join(QLatin1Char(' '));
    return e;
}

std::optional<QList<Sejour>> rechercher(const QSqlDatabase& base, const QString& texte, int limite, QString* erreur)
{
    const Expression e = expressionRecherche(texte);
    if (e.vide() || limite <= 0)
        return QList<Sejour>();
    QString condition;
    if (!e.fts.isEmpty())
        condition = QStringLiteral("r.NumeroReservation IN (SELECT rowid FROM %1 WHERE %1 MATCH :fts)")
                        .arg(QLatin1String(kTable));
    if (e.numero)
        condition = condition.isEmpty() ? QStringLiteral("r.NumeroReservation = :numero")
                                        : QStringLiteral("(%1 OR r.NumeroReservation = :numero)").arg(condition);
    QSqlQuery q(base);
    q.prepare(QLatin1String(kColonnes) + QStringLiteral("WHERE ") + condition
              + QStringLiteral(" AND r.nomclient IS NOT NULL AND r.DateDebut IS NOT NULL AND r.DateFin IS NOT NULL "
                               "ORDER BY r.DateDebut DESC, r.NumeroReservation DESC LIMIT :limite"));
    if (!e.fts.isEmpty())
        q.bindValue(QStringLiteral(":fts"), e.fts);
    if (e.numero)
        q.bindValue(QStringLiteral(":numero"), *e.numero);
    q.bindValue(QStringLiteral(":limite"), limite);
    return lireTout(q, erreur);
}

bool changerEtat(const QSqlDatabase& base, qint32 numero, qint32 etat, const QString& libelle, QString* erreur)
{
    return Requetes::EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("UPDATE RESERVATIONS SET Etat = :etat WHERE NumeroReservation = :numero"));
        q.bindValue(QStringLiteral(":etat"), etat);
        q.bindValue(QStringLiteral(":numero"), numero);
        if (!q.exec())
            return Requetes::Rapporter(q, erreur);
        if (q.numRowsAffected() != 1) {
            if (erreur)
                *erreur = QStringLiteral("la réservation %1 n'existe plus").arg(numero);
            return false;
        }
        return Module1::EnregistrerOperation(base, numero, 0, QString(), libelle, erreur);
    });
}

} // namespace RequetesJournee
