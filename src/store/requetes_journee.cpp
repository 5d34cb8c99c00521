#include "requetes_journee.h"

#include "dates.h"
#include "dialecte.h"
#include "indextelephones.h"
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
QString chiffres(const QString& colonne, Dialecte::Moteur moteur = Dialecte::Moteur::SQLite)
{
    return IndexTelephones::Chiffres(colonne, moteur);
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
    "r.telephone, r.email, r.Annulation "
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
    s.annulation = q.value(15).isNull() ? QDateTime() : Dates::depuisBase(q.value(15));
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

// On PostgreSQL the index is a table of text-search vectors, one per
// reservation, kept by a trigger. Its text is folded by translate() with a
// table made here from the same rule as the words searched (plier), so
// that both sides agree whatever the server's language.
const char* const kPlier = "recherche_plier";

QString plier(QChar c)
{
    if (c.category() == QChar::Mark_NonSpacing)
        return QString();   // an accent written apart from its letter
    if (!c.isLetterOrNumber())
        return QStringLiteral(" ");
    const QString d = QString(c).normalized(QString::NormalizationForm_D);
    const QChar base = !d.isEmpty() && d.at(0).isLetterOrNumber() ? d.at(0) : c;
    return QString(base.toLower());
}

// translate()'s two lists: each character that folds to another, then
// those that vanish. Latin, Greek, Cyrillic, the Vietnamese letters and
// the common punctuation are covered; other characters go to the index as
// they are (the server puts them in lower case).
QString fonctionPlier()
{
    QString de;
    QString vers;
    QString effaces;
    const std::pair<char32_t, char32_t> plages[] = {
        {0x0001, 0x052F}, {0x1E00, 0x1EFF}, {0x2000, 0x206F}, {0x20A0, 0x20CF}, {0x3000, 0x303F}};
    for (const auto& [premier, dernier] : plages)
        for (char32_t u = premier; u <= dernier; ++u) {
            const QChar c(u);
            const QString p = plier(c);
            if (p == QString(c))
                continue;
            if (p.isEmpty())
                effaces += c;
            else {
                de += c;
                vers += p;
            }
        }
    de += effaces;
    auto litteral = [](QString t) {
        return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    };
    return QStringLiteral("CREATE OR REPLACE FUNCTION %1(t text) RETURNS text LANGUAGE sql IMMUTABLE "
                          "AS $plier$ SELECT translate(t, %2, %3) $plier$")
        .arg(QLatin1String(kPlier), litteral(de), litteral(vers));
}

// The vector of a reservation's row (`ligne`): its name, telephone digits,
// e-mail and remark.
QString documentRecherche(const QString& ligne)
{
    return QStringLiteral("to_tsvector('simple', %1(coalesce(%2.nomclient, '') || ' ' || %3 || ' ' "
                          "|| coalesce(%2.email, '') || ' ' || coalesce(%2.remarque, '')))")
        .arg(QLatin1String(kPlier), ligne, chiffres(ligne + QStringLiteral(".telephone"), Dialecte::Moteur::PostgreSQL));
}

QStringList instructionsPostgres()
{
    const QString table = QLatin1String(kTable);
    return {
        fonctionPlier(),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (rowid INTEGER PRIMARY KEY, document tsvector NOT NULL)").arg(table),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_recherche_document ON %1 USING gin (document)").arg(table),
        QStringLiteral("CREATE OR REPLACE FUNCTION recherche_reservations() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF TG_OP <> 'INSERT' THEN DELETE FROM %1 WHERE rowid = OLD.NumeroReservation; END IF; "
                       "IF TG_OP <> 'DELETE' THEN INSERT INTO %1 (rowid, document) VALUES (NEW.NumeroReservation, %2); "
                       "END IF; RETURN NULL; END $$").arg(table, documentRecherche(QStringLiteral("NEW"))),
        QStringLiteral("CREATE OR REPLACE TRIGGER recherche_reservations AFTER INSERT OR DELETE OR UPDATE OF "
                       "NumeroReservation, nomclient, telephone, email, remarque ON RESERVATIONS "
                       "FOR EACH ROW EXECUTE FUNCTION recherche_reservations()"),
        // The reservations of a schema made before the index.
        QStringLiteral("INSERT INTO %1 (rowid, document) SELECT r.NumeroReservation, %2 FROM RESERVATIONS r "
                       "ON CONFLICT (rowid) DO NOTHING").arg(table, documentRecherche(QStringLiteral("r"))),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_fin_debut ON RESERVATIONS(DateFin, DateDebut)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_debut_fin ON RESERVATIONS(DateDebut, DateFin)"),
    };
}

// The words of one term as a text-search phrase, its last word a prefix:
// "o'brien" gives 'o' <-> 'brien':*. The words hold letters and digits
// only, so quoting them is enough.
QString phraseRecherche(const QString& terme)
{
    QStringList mots;
    for (const QString& mot : plierRecherche(terme).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        mots << QLatin1Char('\'') + mot + QLatin1Char('\'');
    if (mots.isEmpty())
        return QString();
    return QLatin1Char('(') + mots.join(QStringLiteral(" <-> ")) + QStringLiteral(":*)");
}

bool separateurTelephone(QChar c)
{
    return c.isSpace() || QStringLiteral(".-/()+").contains(c);
}

// At most this many terms are searched; the rest of a pasted text is ignored.
constexpr int kTermesMax = 12;
// From these many matches on, a search is a common one, then a very common
// one (one reservation in four or more of a large history).
constexpr int kCourant = 1000;
constexpr int kTresCourant = 20000;

} // namespace

QStringList InstructionsIndexRecherche(Dialecte::Moteur moteur)
{
    const QString table = QLatin1String(kTable);
    if (moteur == Dialecte::Moteur::PostgreSQL)
        return instructionsPostgres();
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
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_debut_fin ON RESERVATIONS(DateDebut, DateFin)"),
    };
}

QString InstructionRemplirIndexRecherche()
{
    return QStringLiteral("INSERT INTO %1 (rowid, nomclient, telephone, email, remarque) SELECT %2 FROM RESERVATIONS r")
        .arg(QLatin1String(kTable), valeursIndex(QStringLiteral("r")));
}

std::optional<QList<Sejour>> sejoursAutourDe(const QSqlDatabase& base, const QDate& jour, QString* erreur)
{
    const QString debutJour = Dates::versTexteBase(jour).left(10);
    const QString lendemain = Dates::versTexteBase(jour.addDays(1)).left(10);
    // The stays touching a day are read through the index of their ends
    // (those ending from that day on) or of their arrivals (those starting
    // up to it), whichever side of the history is the shorter; the other
    // bound is checked inside the same index ("+" keeps the planner on it).
    bool parLesFins = true;
    {
        QSqlQuery bornes(base);
        if (bornes.exec(QStringLiteral("SELECT (SELECT min(DateDebut) FROM RESERVATIONS), "
                                       "(SELECT max(DateFin) FROM RESERVATIONS)")) && bornes.next()) {
            const QDateTime premier = Dates::depuisBase(bornes.value(0));
            const QDateTime dernier = Dates::depuisBase(bornes.value(1));
            if (premier.isValid() && dernier.isValid())
                parLesFins = jour.toJulianDay() * 2 >= premier.date().toJulianDay() + dernier.date().toJulianDay();
        }
    }
    QSqlQuery q(base);
    q.prepare(QLatin1String(kColonnes)
              + (parLesFins ? QStringLiteral("WHERE r.DateFin >= :jour AND %1r.DateDebut < :lendemain ")
                            : QStringLiteral("WHERE r.DateDebut < :lendemain AND %1r.DateFin >= :jour "))
                    .arg(Dialecte::sansIndex(base))
              + QStringLiteral("AND r.nomclient IS NOT NULL AND r.Annulation IS NULL"));
    q.bindValue(QStringLiteral(":jour"), debutJour);
    q.bindValue(QStringLiteral(":lendemain"), lendemain);
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
        e.tsquery = phraseRecherche(numeros);
        if (numeros.size() >= IndexTelephones::kChiffresMin)
            e.telephone = numeros;
        bool ok = false;
        const qint32 n = t.toInt(&ok);
        if (ok && n > 0)
            e.numero = n;
        return e;
    }
    QStringList termes;
    QStringList phrases;
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
        phrases << phraseRecherche(mot);
        if (termes.size() == kTermesMax)
            break;
    }
    e.fts = termes.join(QLatin1Char(' '));
    phrases.removeAll(QString());
    e.tsquery = phrases.join(QStringLiteral(" & "));
    return e;
}

QString plierRecherche(const QString& texte)
{
    QString plie;
    const QString t = texte.normalized(QString::NormalizationForm_C);
    for (const QChar c : t)
        plie += plier(c);
    return plie;
}

std::optional<QList<Sejour>> rechercher(const QSqlDatabase& base, const QString& texte, int limite, QString* erreur)
{
    const Expression e = expressionRecherche(texte);
    if (e.vide() || limite <= 0)
        return QList<Sejour>();
    const QString table = QLatin1String(kTable);
    const bool postgres = Dialecte::estPostgres(base);
    // The index rows matching the text, and the value bound to :fts.
    const QString trouve = postgres ? QStringLiteral("document @@ to_tsquery('simple', :fts)")
                                    : QStringLiteral("%1 MATCH :fts").arg(table);
    const QString cherche = postgres ? e.tsquery : e.fts;
    const bool telephones = !e.telephone.isEmpty() && IndexTelephones::Present(base);
    const QString telephone = e.telephone.isEmpty() ? QString()
                                                    : IndexTelephones::Valeur(e.telephone, base, telephones);
    // The reservations the words' index finds, then those whose telephone
    // holds the digits.
    QStringList selections;
    if (!e.fts.isEmpty())
        selections << QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(table, trouve);
    if (!e.telephone.isEmpty())
        selections << IndexTelephones::Selection(base, telephones);
    auto lier = [&](QSqlQuery& q) {
        if (!e.fts.isEmpty())
            q.bindValue(QStringLiteral(":fts"), cherche);
        if (!e.telephone.isEmpty())
            q.bindValue(QStringLiteral(":tel"), telephone);
    };
    // How common the text is decides the way: a rare one reads its few
    // reservations and sorts them; a common one walks the arrivals from the
    // newest and stops at the limit, checking each against the list of
    // matches, or, when one reservation in four or so matches, against the
    // indexes themselves (cheaper than listing them all).
    int trouves = 0;
    if (!selections.isEmpty()) {
        QSqlQuery compte(base);
        compte.prepare(QStringLiteral("SELECT count(*) FROM (%1 LIMIT %2)%3")
                           .arg(selections.join(QStringLiteral(" UNION ALL "))).arg(kTresCourant)
                           .arg(postgres ? QStringLiteral(" AS t") : QString()));
        lier(compte);
        if (!compte.exec() || !compte.next()) {
            Requetes::Rapporter(compte, erreur);
            return std::nullopt;
        }
        trouves = compte.value(0).toInt();
    }
    QString condition;
    if (trouves >= kTresCourant) {
        QStringList conditions;
        if (!e.fts.isEmpty())
            conditions << QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2 AND rowid = r.NumeroReservation)")
                              .arg(table, trouve);
        if (!e.telephone.isEmpty())
            conditions << IndexTelephones::Condition(base, telephones, QStringLiteral("r"));
        condition = conditions.join(QStringLiteral(" OR "));
    } else if (!selections.isEmpty()) {
        condition = QStringLiteral("%1r.NumeroReservation IN (%2)")
                        .arg(trouves >= kCourant ? Dialecte::sansIndex(base) : QString(),
                             selections.join(QStringLiteral(" UNION ALL ")));
    }
    if (e.numero)
        condition = condition.isEmpty() ? QStringLiteral("r.NumeroReservation = :numero")
                                        : QStringLiteral("%1 OR r.NumeroReservation = :numero").arg(condition);
    // The newest first, chosen before the balances and names are read.
    const QString choix = QStringLiteral("SELECT r.NumeroReservation FROM RESERVATIONS r WHERE (") + condition
        + QStringLiteral(") AND r.nomclient IS NOT NULL AND r.DateDebut IS NOT NULL AND r.DateFin IS NOT NULL "
                         "ORDER BY r.DateDebut DESC LIMIT :limite");
    QSqlQuery q(base);
    q.prepare(QLatin1String(kColonnes) + QStringLiteral("WHERE r.NumeroReservation IN (") + choix
              + QStringLiteral(") ORDER BY r.DateDebut DESC, r.NumeroReservation DESC"));
    lier(q);
    if (e.numero)
        q.bindValue(QStringLiteral(":numero"), *e.numero);
    q.bindValue(QStringLiteral(":limite"), limite);
    return lireTout(q, erreur);
}

std::optional<QList<ArrhesDemandees>> arrhesDemandees(const QSqlDatabase& base, const QDate& jour, QString* erreur)
{
    // Read through the index of the stays' ends; a refund is a payment row
    // with a negative amount, so the sum of the payment rows is what was kept.
    QSqlQuery q(base);
    q.prepare(QStringLiteral(
        "SELECT r.NumeroReservation, r.objet, o.Nom, r.nomclient, r.DateDebut, r.DateFin, r.arrhes, "
        "(SELECT total(prix) FROM OPERATIONS WHERE numeroreservation = r.NumeroReservation "
        "AND trim(coalesce(paiement, '')) <> ''), r.datelimite "
        "FROM RESERVATIONS r LEFT JOIN OBJETS o ON o.Numero = r.objet "
        "WHERE r.DateFin >= :jour AND r.arrhes > 0 AND r.Annulation IS NULL AND r.nomclient IS NOT NULL"));
    q.bindValue(QStringLiteral(":jour"), Dates::versTexteBase(jour).left(10));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<ArrhesDemandees> demandes;
    while (q.next()) {
        ArrhesDemandees a;
        a.numero = q.value(0).toInt();
        a.objet = q.value(1).toInt();
        a.unite = q.value(2).toString();
        a.client = q.value(3).toString();
        a.debut = Dates::depuisBase(q.value(4));
        a.fin = Dates::depuisBase(q.value(5));
        a.arrhes = q.value(6).toDouble();
        a.recu = q.value(7).toDouble();
        a.datelimite = q.value(8).isNull() ? QDateTime() : Dates::depuisBase(q.value(8));
        if (a.debut.isValid() && a.fin.isValid())
            demandes.append(a);
    }
    return demandes;
}

bool changerEtat(const QSqlDatabase& base, qint32 numero, qint32 etat, const QString& libelle, QString* erreur)
{
    return Requetes::EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("UPDATE RESERVATIONS SET Etat = :etat WHERE NumeroReservation = :numero"));
        q.bindValue(QStringLiteral(":etat"), etat);
        q.bindValue(QStringLiteral(":numero"), numero);
        if (!Requetes::ChangerUneLigne(q, QStringLiteral("la réservation %1 n'existe plus").arg(numero), erreur))
            return false;
        return Module1::EnregistrerOperation(base, numero, 0, QString(), libelle, erreur);
    });
}

bool changerEtatEtDepart(const QSqlDatabase& base, qint32 numero, qint32 etat, const QString& libelle,
                         const QDateTime& fin, QString* erreur)
{
    return Requetes::EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("UPDATE RESERVATIONS SET Etat = :etat, DateFin = :fin WHERE NumeroReservation = :numero"));
        q.bindValue(QStringLiteral(":etat"), etat);
        q.bindValue(QStringLiteral(":fin"), Dates::versTexteBase(fin));
        q.bindValue(QStringLiteral(":numero"), numero);
        if (!Requetes::ChangerUneLigne(q, QStringLiteral("la réservation %1 n'existe plus").arg(numero), erreur))
            return false;
        return Module1::EnregistrerOperation(base, numero, 0, QString(), libelle, erreur);
    });
}

} // namespace RequetesJournee
