#include "tarification.h"

#include "store/conversion.h"
#include "store/dates.h"

#include <QLocale>

#include <cmath>

namespace Tarification {

namespace {

const Saison* saisonDuJour(const QList<Saison>& saisons, const QString& categorie, const QDate& jour)
{
    for (const Saison& s : saisons)
        if (s.categorie.compare(categorie, Qt::CaseInsensitive) == 0 && s.premier <= jour && jour <= s.dernier)
            return &s;
    return nullptr;
}

QString jjmm(const QDate& jour)
{
    return jour.toString(QStringLiteral("dd/MM"));
}

QString nuits(int n)
{
    return QString::number(n) + (n > 1 ? QStringLiteral(" nuits") : QStringLiteral(" nuit"));
}

QString personnes(int n, const char* singulier, const char* pluriel)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n > 1 ? pluriel : singulier);
}

bool memeMontant(double a, double b)
{
    return std::llround(a * 100.0) == std::llround(b * 100.0);
}

} // namespace

Calcul Calculer(const Sejour& sejour, const QList<Saison>& saisons, double taxeParAdulteNuit)
{
    Calcul c;
    if (!sejour.arrivee.isValid() || !sejour.depart.isValid()) {
        c.erreur = QStringLiteral("Les dates du séjour ne sont pas lisibles.");
        return c;
    }
    const qint64 total = sejour.arrivee.daysTo(sejour.depart);
    if (total <= 0)
        return c;
    if (sejour.categorie.trimmed().isEmpty()) {
        c.erreur = QStringLiteral("Le logement ") + sejour.unite
            + QStringLiteral(" n'a pas de catégorie : donnez-lui en une dans Paramètres, onglet Objets.");
        return c;
    }
    // Consecutive nights of one season make one segment.
    QDate jour = sejour.arrivee;
    while (jour < sejour.depart) {
        const Saison* s = saisonDuJour(saisons, sejour.categorie, jour);
        if (!s) {
            c.lignes.clear();
            c.erreur = QStringLiteral("Aucun tarif pour la nuit du ") + Dates::jjmmaaaa(jour)
                + QStringLiteral(" (catégorie ") + sejour.categorie + QStringLiteral(").");
            return c;
        }
        QDate fin = jour.addDays(1);
        while (fin < sejour.depart && saisonDuJour(saisons, sejour.categorie, fin) == s)
            fin = fin.addDays(1);
        const int n = int(jour.daysTo(fin));
        c.lignes.append({Genre::Sejour,
                         QStringLiteral("Séjour ") + sejour.unite + QStringLiteral(" du ") + jjmm(jour)
                             + QStringLiteral(" au ") + jjmm(fin) + QStringLiteral(" : ") + nuits(n)
                             + QStringLiteral(" x ") + Conversion::Monnaie(s->prixNuit),
                         Conversion::ArrondiCentime(n * s->prixNuit), s->tauxTVA, jour, fin});
        if (s->prixAdulte != 0 && sejour.adultes > 0)
            c.lignes.append({Genre::Sejour,
                             QStringLiteral("Supplément ") + personnes(sejour.adultes, "adulte", "adultes")
                                 + QStringLiteral(" x ") + nuits(n) + QStringLiteral(" x ") + Conversion::Monnaie(s->prixAdulte),
                             Conversion::ArrondiCentime(double(sejour.adultes) * n * s->prixAdulte), s->tauxTVA, jour, fin});
        if (s->prixEnfant != 0 && sejour.enfants > 0)
            c.lignes.append({Genre::Sejour,
                             QStringLiteral("Supplément ") + personnes(sejour.enfants, "enfant", "enfants")
                                 + QStringLiteral(" x ") + nuits(n) + QStringLiteral(" x ") + Conversion::Monnaie(s->prixEnfant),
                             Conversion::ArrondiCentime(double(sejour.enfants) * n * s->prixEnfant), s->tauxTVA, jour, fin});
        jour = fin;
    }
    if (taxeParAdulteNuit > 0 && sejour.adultes > 0)
        c.lignes.append({Genre::Taxe,
                         QStringLiteral("Taxe de séjour : ") + personnes(sejour.adultes, "adulte", "adultes")
                             + QStringLiteral(" x ") + nuits(int(total)) + QStringLiteral(" x ")
                             + Conversion::Monnaie(taxeParAdulteNuit),
                         Conversion::ArrondiCentime(double(sejour.adultes) * total * taxeParAdulteNuit), 0,
                         sejour.arrivee, sejour.depart});
    for (const Ligne& l : std::as_const(c.lignes))
        c.total += l.montant;
    c.total = Conversion::ArrondiCentime(c.total);
    return c;
}

QString VerifierSaisons(const QList<Saison>& saisons)
{
    for (const Saison& s : saisons) {
        if (!s.premier.isValid() || !s.dernier.isValid())
            return QStringLiteral("Une saison de la catégorie ") + s.categorie + QStringLiteral(" n'a pas de dates lisibles.");
        if (s.dernier < s.premier)
            return QStringLiteral("La saison de la catégorie ") + s.categorie + QStringLiteral(" finit le ")
                + Dates::jjmmaaaa(s.dernier) + QStringLiteral(", avant son premier jour (")
                + Dates::jjmmaaaa(s.premier) + QStringLiteral(").");
    }
    for (qsizetype i = 0; i < saisons.size(); ++i)
        for (qsizetype j = i + 1; j < saisons.size(); ++j) {
            const Saison& a = saisons.at(i);
            const Saison& b = saisons.at(j);
            if (a.categorie.compare(b.categorie, Qt::CaseInsensitive) != 0)
                continue;
            if (a.premier <= b.dernier && b.premier <= a.dernier)
                return QStringLiteral("Deux saisons de la catégorie ") + a.categorie + QStringLiteral(" se chevauchent : du ")
                    + Dates::jjmmaaaa(a.premier) + QStringLiteral(" au ") + Dates::jjmmaaaa(a.dernier)
                    + QStringLiteral(" et du ") + Dates::jjmmaaaa(b.premier) + QStringLiteral(" au ")
                    + Dates::jjmmaaaa(b.dernier) + QLatin1Char('.');
        }
    return QString();
}

QList<Part> Parts(const QList<Ligne>& lignes)
{
    QList<Part> parts;
    for (const Ligne& l : lignes) {
        bool ajoute = false;
        for (Part& p : parts)
            if (p.genre == l.genre && memeMontant(p.tauxTVA, l.tauxTVA)) {
                p.montant = Conversion::ArrondiCentime(p.montant + l.montant);
                ajoute = true;
            }
        if (!ajoute)
            parts.append({l.genre, l.tauxTVA, l.montant});
    }
    return parts;
}

QList<Part> Difference(const QList<Part>& deja, const QList<Part>& voulu)
{
    QList<Part> difference;
    auto montantDe = [](const QList<Part>& parts, Genre genre, double taux) {
        double m = 0;
        for (const Part& p : parts)
            if (p.genre == genre && memeMontant(p.tauxTVA, taux))
                m += p.montant;
        return m;
    };
    auto ajouter = [&](Genre genre, double taux) {
        for (const Part& p : std::as_const(difference))
            if (p.genre == genre && memeMontant(p.tauxTVA, taux))
                return;
        const double ecart = Conversion::ArrondiCentime(montantDe(voulu, genre, taux) - montantDe(deja, genre, taux));
        if (!memeMontant(ecart, 0))
            difference.append({genre, taux, ecart});
    };
    for (const Part& p : voulu)
        ajouter(p.genre, p.tauxTVA);
    for (const Part& p : deja)
        ajouter(p.genre, p.tauxTVA);
    return difference;
}

double PrixSansTaxe(const Calcul& calcul)
{
    double prix = 0;
    for (const Ligne& l : calcul.lignes)
        if (l.genre == Genre::Sejour)
            prix += l.montant;
    return Conversion::ArrondiCentime(prix);
}

QList<Ecriture> Ecritures(const Sejour& sejour, const Calcul& calcul, const QList<Part>& deja)
{
    QList<Ecriture> ecritures;
    if (!calcul.valide())
        return ecritures;
    if (deja.isEmpty()) {
        for (const Ligne& l : calcul.lignes) {
            QString libelle = l.libelle;
            if (l.genre == Genre::Taxe)
                libelle = QStringLiteral("TAXE DE SEJOUR ") + libelle.mid(libelle.indexOf(QLatin1Char(':')) + 2);
            else if (libelle.startsWith(QStringLiteral("Séjour ")))
                libelle = QStringLiteral("SEJOUR ") + libelle.mid(7);
            else
                libelle = QStringLiteral("SEJOUR ") + libelle;
            ecritures.append({libelle, -l.montant, l.tauxTVA});
        }
        return ecritures;
    }
    const QString description = sejour.unite + QStringLiteral(" du ") + Dates::jjmmaaaa(sejour.arrivee)
        + QStringLiteral(" au ") + Dates::jjmmaaaa(sejour.depart) + QStringLiteral(", ")
        + personnes(sejour.adultes, "adulte", "adultes") + QStringLiteral(", ")
        + personnes(sejour.enfants, "enfant", "enfants");
    for (const Part& p : Difference(deja, Parts(calcul.lignes))) {
        const QString taux = p.genre == Genre::Taxe ? QString()
            : QStringLiteral(" (TVA ") + QLocale(QLocale::French).toString(p.tauxTVA) + QStringLiteral(" %)");
        ecritures.append({(p.genre == Genre::Taxe ? QStringLiteral("CORRECTION TAXE DE SEJOUR ")
                                                  : QStringLiteral("CORRECTION SEJOUR ")) + description + taux,
                          -p.montant, p.tauxTVA});
    }
    return ecritures;
}

} // namespace Tarification
