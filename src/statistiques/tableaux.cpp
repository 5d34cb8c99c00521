#include "tableaux.h"

#include "store/dates.h"

#include <QRegularExpression>
#include <cmath>

namespace Tableaux {

namespace {

QString entier(qint64 n)
{
    return QString::number(n);
}

QString argent(double v)
{
    return Decimal(v, 2);
}

// A number as this program writes it ("-3,50", "12", "45,3 %" excepted):
// a spreadsheet reads it as a number, never as a formula.
bool estNombre(const QString& texte)
{
    static const QRegularExpression nombre(QStringLiteral("^-?[0-9]+(,[0-9]+)?$"));
    return nombre.match(texte).hasMatch();
}

// A spreadsheet runs a cell that starts with one of these as a formula
// (a unit named "=1+1", a portal's event titled "@SUM(…)").
bool estFormule(const QString& texte)
{
    if (texte.isEmpty() || estNombre(texte))
        return false;
    const QChar c = texte.front();
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@')
        || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

QString cellule(const QString& texte)
{
    const bool formule = estFormule(texte);
    if (!formule && !texte.contains(QLatin1Char(';')) && !texte.contains(QLatin1Char('"'))
        && !texte.contains(QLatin1Char('\n')) && !texte.contains(QLatin1Char('\r')))
        return texte;
    // The leading quote makes the spreadsheet show the text as typed.
    QString t = formule ? QLatin1Char('\'') + texte : texte;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

} // namespace

QString Decimal(double valeur, int decimales)
{
    QString texte = QString::number(valeur, 'f', decimales);
    // "-0,00" reads as a mistake.
    if (texte.startsWith(QLatin1Char('-')) && texte.mid(1).remove(QLatin1Char('0')).remove(QLatin1Char('.')).isEmpty())
        texte.remove(0, 1);
    return texte.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString Date(const QDate& jour)
{
    return jour.isValid() ? jour.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString Mois(const QDate& mois)
{
    return Dates::nomMoisMinuscule(mois.month()) + QLatin1Char(' ') + QString::number(mois.year());
}

QString Periode(const QDate& debut, const QDate& fin)
{
    return QStringLiteral("Du %1 au %2").arg(Date(debut), Date(fin));
}

Tableau Resume(const Statistiques::Chiffres& c, const ResteDu::Etat* reste)
{
    Tableau t;
    t.titre = QStringLiteral("Statistiques — ") + Periode(c.debut, c.fin);
    t.entetes = {QStringLiteral("Chiffre"), QStringLiteral("Valeur")};
    auto ligne = [&](const QString& nom, const QString& valeur) { t.lignes.append({nom, valeur}); };
    ligne(QStringLiteral("Logements"), entier(c.unites));
    ligne(QStringLiteral("Nuitées disponibles"), entier(c.nuitsDisponibles));
    ligne(QStringLiteral("Nuitées vendues"), entier(c.nuitsVendues));
    ligne(QStringLiteral("Taux d'occupation (%)"), Decimal(c.taux, 1));
    ligne(QStringLiteral("Arrivées"), entier(c.arrivees));
    ligne(QStringLiteral("Durée moyenne de séjour (nuits)"), Decimal(c.dureeMoyenne, 1));
    ligne(QStringLiteral("Nuitées adultes"), entier(c.nuitsAdultes));
    ligne(QStringLiteral("Nuitées enfants"), entier(c.nuitsEnfants));
    for (int n = 0; n < Statistiques::NombreDeNatures; ++n)
        ligne(QStringLiteral("Recettes : ") + Statistiques::NomNature(n), argent(c.recettes[size_t(n)]));
    ligne(QStringLiteral("Recettes : total"), argent(c.totalRecettes));
    for (const auto& p : c.paiements)
        ligne(QStringLiteral("Encaissé : %1 (%2)").arg(p.type).arg(p.nombre), argent(p.total));
    ligne(QStringLiteral("Encaissé : total"), argent(c.totalEncaisse));
    ligne(QStringLiteral("Séjours terminés"), entier(c.sejoursTermines));
    ligne(QStringLiteral("Séjours terminés avec un solde dû"), entier(c.sejoursDebiteurs));
    ligne(QStringLiteral("Solde restant dû"), argent(c.soldeDu));
    if (reste) {
        ligne(QStringLiteral("Séjours pas encore facturés"), entier(reste->nonFactures));
        ligne(QStringLiteral("Montant à facturer (tarif actuel)"), argent(reste->prevu));
        if (reste->sansTarif > 0)
            ligne(QStringLiteral("Non facturés sans tarif"), entier(reste->sansTarif));
        ligne(QStringLiteral("Annulations"), entier(reste->annulations));
        ligne(QStringLiteral("Frais d'annulation"), argent(reste->frais));
        ligne(QStringLiteral("Avoirs des annulations"), argent(reste->avoirs));
    }
    if (c.ignores > 0)
        ligne(Statistiques::LigneIgnores(c.ignores), entier(c.ignores));
    return t;
}

Tableau ParUnite(const Statistiques::Chiffres& c)
{
    Tableau t;
    t.titre = QStringLiteral("Par logement — ") + Periode(c.debut, c.fin);
    t.entetes = {QStringLiteral("N°"), QStringLiteral("Logement"), QStringLiteral("Nuitées vendues"),
                 QStringLiteral("Taux d'occupation (%)"), QStringLiteral("Recettes")};
    for (const auto& u : c.parUnite)
        t.lignes.append({entier(u.numero), u.nom, entier(u.nuits), Decimal(u.taux, 1), argent(u.recettes)});
    return t;
}

Tableau ParMois(const Statistiques::Chiffres& c)
{
    Tableau t;
    t.titre = QStringLiteral("Par mois — ") + Periode(c.debut, c.fin);
    t.entetes = {QStringLiteral("Mois"), QStringLiteral("Nuitées disponibles"), QStringLiteral("Nuitées vendues"),
                 QStringLiteral("Taux d'occupation (%)")};
    for (int n = 0; n < Statistiques::NombreDeNatures; ++n)
        t.entetes.append(Statistiques::NomNature(n));
    t.entetes.append(QStringLiteral("Recettes"));
    for (const auto& m : c.parMois) {
        QStringList l{Mois(m.mois), entier(m.disponibles), entier(m.nuits), Decimal(m.taux, 1)};
        for (double r : m.recettes)
            l.append(argent(r));
        l.append(argent(Statistiques::Total(m.recettes)));
        t.lignes.append(l);
    }
    return t;
}

Tableau Taxe(const TaxeSejour::Declaration& d)
{
    Tableau t;
    t.titre = QStringLiteral("Taxe de séjour — ") + Periode(d.debut, d.fin) + QStringLiteral(" — ")
        + argent(d.taux) + QStringLiteral(" € par adulte et par nuit");
    t.entetes = {QStringLiteral("N°"), QStringLiteral("Client"), QStringLiteral("Logement"), QStringLiteral("Arrivée"),
                 QStringLiteral("Départ"), QStringLiteral("Nuitées dans la période"), QStringLiteral("Adultes"),
                 QStringLiteral("Exonérés (enfants)"), QStringLiteral("Nuitées taxées"), QStringLiteral("Taxe due"),
                 QStringLiteral("Taxe facturée")};
    for (const auto& l : d.lignes) {
        const auto& s = l.sejour;
        t.lignes.append({entier(s.numero), s.client.trimmed(), s.unite, Date(s.arrivee.date()), Date(s.depart.date()),
                         entier(s.nuits), entier(s.adultes), entier(s.enfants), entier(l.nuitsTaxees),
                         argent(l.montant), l.nonFacturee ? QStringLiteral("pas encore facturée") : argent(l.facturee)});
    }
    t.lignes.append({QString(), QStringLiteral("Total"), QString(), QString(), QString(), entier(d.nuits),
                     entier(d.adultes), entier(d.exoneres), entier(d.nuitsTaxees), argent(d.montant),
                     argent(d.facturee)});
    // Why the tax charged for the period's nights is not the tax due (short
    // names: EcartTaxe says it in full under the table).
    auto ecart = [&](const QString& nom, double montant) {
        QStringList l(t.entetes.size());
        l[1] = nom;
        l[l.size() - 1] = argent(montant);
        t.lignes.append(l);
    };
    ecart(QStringLiteral("Séjourné, pas encore facturé"), d.nonFacturee);
    if (std::abs(d.autresEcarts) >= 0.005)
        ecart(QStringLiteral("Autres écarts"), d.autresEcarts);
    ecart(QStringLiteral("Facturé, pas encore séjourné"), d.avance);
    return t;
}

Tableau ResteDu(const ResteDu::Etat& e)
{
    Tableau t;
    t.titre = QStringLiteral("Reste dû — ") + Periode(e.debut, e.fin);
    t.entetes = {QStringLiteral("Situation"), QStringLiteral("N°"), QStringLiteral("Client"), QStringLiteral("Logement"),
                 QStringLiteral("Arrivée"), QStringLiteral("Départ"), QStringLiteral("Annulation"),
                 QStringLiteral("Montant dû"), QStringLiteral("Frais d'annulation"), QStringLiteral("Avoirs"),
                 QStringLiteral("Remarque")};
    using Compte = RequetesStatistiques::Compte;
    for (const auto& l : e.lignes) {
        const Compte& c = l.compte;
        const QString situation = c.genre == Compte::Debiteur ? QStringLiteral("Terminé avec un solde dû")
            : c.genre == Compte::NonFacture                     ? QStringLiteral("Pas encore facturé")
                                                                : QStringLiteral("Annulé");
        const bool annule = c.genre == Compte::Annule;
        t.lignes.append({situation, entier(c.numero), c.client.trimmed(), c.unite, Date(c.arrivee.date()),
                         Date(c.depart.date()), annule ? Date(c.annulation.date()) : QString(),
                         l.remarque.isEmpty() ? argent(l.montant) : QString(), annule ? argent(c.frais) : QString(),
                         annule ? argent(c.avoirs) : QString(), l.remarque});
    }
    auto total = [&](const QString& nom, qint64 n, const QString& du, const QString& frais = {},
                     const QString& avoirs = {}) {
        t.lignes.append({QStringLiteral("%1 : %2").arg(nom).arg(n), QString(), QString(), QString(), QString(),
                         QString(), QString(), du, frais, avoirs, QString()});
    };
    total(QStringLiteral("Séjours terminés avec un solde dû"), e.debiteurs, argent(e.du));
    total(QStringLiteral("Séjours pas encore facturés"), e.nonFactures, argent(e.prevu));
    if (e.sansTarif > 0)
        total(QStringLiteral("dont sans tarif pour les chiffrer"), e.sansTarif, QString());
    total(QStringLiteral("Annulations"), e.annulations, argent(e.duAnnulations), argent(e.frais), argent(e.avoirs));
    return t;
}

QByteArray Csv(const Tableau& tableau)
{
    return Csv(QList<Tableau>{tableau});
}

QByteArray Csv(const QList<Tableau>& tableaux)
{
    QString texte;
    auto ligne = [&](const QStringList& cellules) {
        QStringList echappees;
        for (const QString& c : cellules)
            echappees.append(cellule(c));
        texte += echappees.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    for (const Tableau& tableau : tableaux) {
        if (!texte.isEmpty())
            texte += QStringLiteral("\r\n");
        ligne({tableau.titre});
        ligne(tableau.entetes);
        for (const QStringList& l : tableau.lignes)
            ligne(l);
    }
    return QByteArray("\xEF\xBB\xBF") + texte.toUtf8();
}

QString EcartTaxe(const TaxeSejour::Declaration& d)
{
    QString texte = QStringLiteral("Taxe due : %1 € ; facturée pour ces nuitées : %2 €.")
                        .arg(argent(d.montant), argent(d.facturee));
    QStringList ecarts;
    if (std::abs(d.nonFacturee) >= 0.005)
        ecarts << QStringLiteral("séjourné, pas encore facturé %1 €").arg(argent(d.nonFacturee));
    if (std::abs(d.autresEcarts) >= 0.005)
        ecarts << QStringLiteral("autres écarts (adultes ou tarif changés depuis la facturation) %1 €")
                      .arg(argent(d.autresEcarts));
    if (!ecarts.isEmpty())
        texte += QStringLiteral(" Écart : ") + ecarts.join(QStringLiteral(" ; ")) + QLatin1Char('.');
    if (std::abs(d.avance) >= 0.005)
        texte += QStringLiteral(" Facturé, pas encore séjourné (nuitées après la période) : %1 €.").arg(argent(d.avance));
    return texte;
}

QString Texte(const Statistiques::Chiffres& c, const ResteDu::Etat* reste)
{
    const Tableau t = Resume(c, reste);
    qsizetype largeur = 0;
    for (const QStringList& l : t.lignes)
        largeur = std::max(largeur, l.value(0).size());
    QString texte = t.titre + QLatin1Char('\n');
    for (const QStringList& l : t.lignes)
        texte += l.value(0).leftJustified(largeur + 2, QLatin1Char('.')) + QLatin1Char(' ') + l.value(1) + QLatin1Char('\n');
    return texte;
}

} // namespace Tableaux
