#include "montantoupourcentage.h"

#include "store/conversion.h"

#include <QLocale>

namespace MontantOuPourcentage {

double Valeur::montant(double prix) const
{
    return Conversion::ArrondiCentime(pourcentage ? prix * valeur / 100.0 : valeur);
}

QString Valeur::texte() const
{
    if (!pourcentage)
        return Conversion::Monnaie(valeur);
    return QLocale(QLocale::French).toString(valeur, 'g', 6) + QStringLiteral(" %");
}

std::optional<Valeur> Lire(const QString& texte)
{
    QString t = texte.trimmed();
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    Valeur v;
    if (t.endsWith(QLatin1Char('%'))) {
        v.pourcentage = true;
        t.chop(1);
    } else if (t.endsWith(QChar(0x20AC))) {
        t.chop(1);
    }
    if (t.trimmed().startsWith(QLatin1Char('-')) || t.trimmed().startsWith(QLatin1Char('+')))
        return std::nullopt;
    const auto nombre = Conversion::LireMontant(t);
    if (!nombre || (v.pourcentage && *nombre > 100))
        return std::nullopt;
    v.valeur = v.pourcentage ? *nombre : Conversion::ArrondiCentime(*nombre);
    return v;
}

} // namespace MontantOuPourcentage
