#include "saisie.h"

#include "facturation/montantoupourcentage.h"
#include "store/conversion.h"

#include <cmath>

namespace Saisie {

std::optional<QDate> LireJour(const QString& texte)
{
    const QString t = texte.trimmed();
    // A date box holds a date alone; a time belongs to the hour box.
    if (t.isEmpty() || t.contains(QLatin1Char(' ')))
        return std::nullopt;
    const auto lu = Conversion::LireDate(t);
    if (!lu)
        return std::nullopt;
    return lu->date();
}

std::optional<QTime> LireHeure(const QString& texte)
{
    const QString t = texte.trimmed();
    if (t.isEmpty() || t.contains(QLatin1Char(' ')))
        return std::nullopt;
    // The same reading as the stored date and time, on a fixed day.
    const auto lu = Conversion::LireDate(QStringLiteral("01/01/2000 ") + t);
    if (!lu)
        return std::nullopt;
    return lu->time();
}

std::optional<qint32> LireEffectif(const QString& texte)
{
    const QString t = texte.trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < 0 || n > 32767)
        return std::nullopt;
    return n;
}

namespace {

// The box read as an amount or a share; nullopt when it is neither. An
// amount of a billion euros or more is no deposit.
std::optional<MontantOuPourcentage::Valeur> lireBoiteArrhes(const QString& texte)
{
    if (texte.trimmed().isEmpty())
        return MontantOuPourcentage::Valeur{};
    const auto v = MontantOuPourcentage::Lire(texte);
    if (!v || (!v->pourcentage && v->valeur >= 1e9))
        return std::nullopt;
    return v;
}

} // namespace

std::optional<double> LireArrhes(const QString& texte)
{
    const auto v = lireBoiteArrhes(texte);
    if (!v || v->pourcentage)
        return std::nullopt;
    return v->valeur;
}

bool ArrhesEnPourcentage(const QString& texte)
{
    const auto v = lireBoiteArrhes(texte);
    return v && v->pourcentage;
}

std::optional<double> ArrhesDuSejour(const QString& texte, const std::optional<Tarification::Calcul>& prix,
                                     QString* erreur)
{
    auto refuser = [erreur](const QString& raison) -> std::optional<double> {
        if (erreur)
            *erreur = raison;
        return std::nullopt;
    };
    const auto v = lireBoiteArrhes(texte);
    if (!v)
        return refuser(QString::fromUtf8(Verification::kArrhes));
    if (!v->pourcentage || v->valeur == 0)
        return v->montant(0);
    if (!prix || !prix->valide()) {
        const QString raison = prix ? prix->erreur : QStringLiteral("Le prix du séjour n'est pas connu.");
        return refuser(QString::fromUtf8(Verification::kArrhesSansPrix).arg(v->texte(), raison));
    }
    return v->montant(Tarification::PrixSansTaxe(*prix));
}

qint32 NumeroEntree(const QString& entree)
{
    const double n = Conversion::LireNombre(entree);
    if (!std::isfinite(n) || n < -2147483648.0 || n > 2147483647.0)
        return 0;
    return qint32(n);
}

std::optional<qint64> NombreDeNuits(const QString& datedebut, const QString& datefin)
{
    const auto debut = LireJour(datedebut);
    const auto fin = LireJour(datefin);
    if (!debut || !fin)
        return std::nullopt;
    return debut->daysTo(*fin);
}

QString NomParDefaut(const QString& texteEtat)
{
    const qsizetype tiret = texteEtat.indexOf(QLatin1Char('-'));
    if (tiret < 0)
        return texteEtat.mid(1);
    return texteEtat.mid(tiret + 2);
}

QString FormeAffichee(const QString& stocke)
{
    qsizetype fin = stocke.size();
    while (fin > 0 && stocke.at(fin - 1) == QLatin1Char(' '))
        --fin;
    return stocke.left(fin);
}

QString FormeStockee(const QString& texte)
{
    return FormeAffichee(texte) + QLatin1Char(' ');
}

Requetes::Reservation VersReservation(const Verification::Champs& s, const std::optional<Tarification::Calcul>& prix)
{
    Requetes::Reservation r;
    r.objet = NumeroEntree(s.objet);
    r.nomclient = s.nomclient;
    const QDate debut = LireJour(s.datedebut).value_or(QDate());
    const QDate fin = LireJour(s.datefin).value_or(QDate());
    const QTime heureDebut = LireHeure(s.heuredebut).value_or(QTime());
    const QTime heureFin = LireHeure(s.heurefin).value_or(QTime());
    if (debut.isValid() && heureDebut.isValid())
        r.debut = QDateTime(debut, heureDebut, Qt::UTC);
    if (fin.isValid() && heureFin.isValid())
        r.fin = QDateTime(fin, heureFin, Qt::UTC);
    r.arrhes = ArrhesDuSejour(s.arrhes, prix).value_or(0.0);
    if (const auto limite = LireJour(s.datelimite))
        r.datelimite = QDateTime(*limite, QTime(0, 0), Qt::UTC);
    r.etat = NumeroEntree(s.etat);
    r.nbadultes = LireEffectif(s.nbadultes).value_or(0);
    r.nbenfants = LireEffectif(s.nbenfants).value_or(0);
    r.remarque = FormeStockee(s.remarque);
    r.telephone = FormeStockee(s.telephone);
    r.email = FormeStockee(s.email);
    return r;
}

QStringList EntreesObjets(const QList<Requetes::Objet>& objets)
{
    QStringList entrees;
    for (const Requetes::Objet& o : objets)
        entrees << QString::number(o.numero) + QStringLiteral(" : ") + o.nom.toString();
    return entrees;
}

int IndexObjet(const QStringList& entrees, qint32 numero)
{
    const QString debut = QString::number(numero) + QLatin1Char(' ');
    int trouve = -1;
    for (int k = 0; k < entrees.size(); ++k)
        if (entrees.at(k).startsWith(debut))
            trouve = k;
    return trouve;
}

} // namespace Saisie
