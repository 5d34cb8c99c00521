#include "nomsdepages.h"

#include "store/conversion.h"
#include "store/requetes.h"

#include <QSet>

namespace Publication {

namespace {

// A name field counts as empty when Null or made of blanks only.
bool estVide(const QVariant& champ)
{
    return champ.isNull() || !champ.isValid() || champ.toString().trimmed().isEmpty();
}

// Position of the extension's dot, or -1 when the name has none worth
// keeping apart (no dot, a leading dot only, or an overlong tail).
qsizetype debutExtension(const QString& nom)
{
    const qsizetype point = nom.lastIndexOf(QLatin1Char('.'));
    if (point <= 0 || nom.mid(point).toUtf8().size() > kOctetsExtensionMax)
        return -1;
    return point;
}

// The first `octets` bytes of `texte` in UTF-8, backed off to the start of
// a character so that none is cut in half.
QString couperUtf8(const QString& texte, int octets)
{
    const QByteArray utf8 = texte.toUtf8();
    if (utf8.size() <= octets)
        return texte;
    qsizetype fin = qMax(octets, 0);
    // A continuation byte (10xxxxxx) cannot start a character.
    while (fin > 0 && (static_cast<unsigned char>(utf8.at(fin)) & 0xC0) == 0x80)
        --fin;
    return QString::fromUtf8(utf8.left(fin));
}

// `nom` (already cleaned) cut before its extension, with `suffixe` (already
// cleaned) placed before the extension within the byte limit.
QString assembler(const QString& nom, const QString& suffixe, int octetsMax)
{
    const qsizetype point = debutExtension(nom);
    const QString base = point < 0 ? nom : nom.left(point);
    const QString extension = point < 0 ? QString() : nom.mid(point);
    return couperUtf8(base, octetsMax - static_cast<int>(suffixe.toUtf8().size())) + suffixe + extension;
}

QString nettoyer(const QString& nom)
{
    QString propre = Conversion::NomDeFichierValide(nom);
    for (QChar& c : propre)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    return propre;
}

} // namespace

QString NomDePage(const QString& nom, int octetsMax)
{
    return assembler(nettoyer(nom), QString(), octetsMax);
}

QStringList NomsDePagesUniques(const QStringList& noms)
{
    QStringList propres;
    propres.reserve(noms.size());
    for (const QString& nom : noms)
        propres.append(NomDePage(nom));

    // Every unit's own name is reserved first, so that a numbered name never
    // takes the name of a later unit.
    const QSet<QString> propresTous(propres.cbegin(), propres.cend());
    QSet<QString> donnes;
    QStringList resultat;
    resultat.reserve(propres.size());
    for (const QString& propre : propres) {
        QString nom = propre;
        for (int n = 2; donnes.contains(nom) || (nom != propre && propresTous.contains(nom)); ++n)
            nom = assembler(propre, nettoyer(QStringLiteral(" (%1)").arg(n)), kOctetsNomMax);
        donnes.insert(nom);
        resultat.append(nom);
    }
    return resultat;
}

QString FichierHTML(const Requetes::Objet& objet)
{
    const QString nom = estVide(objet.fichierPlanningHTML) ? objet.nom.toString() + QStringLiteral(".html")
                                                           : objet.fichierPlanningHTML.toString();
    return NomDePage(nom);
}

QStringList FichiersHTML(const QList<Requetes::Objet>& objets)
{
    QStringList noms;
    noms.reserve(objets.size());
    for (const Requetes::Objet& objet : objets)
        noms.append(FichierHTML(objet));
    return NomsDePagesUniques(noms);
}

QString NomInternet(const Requetes::Objet& objet)
{
    return estVide(objet.nomInternet) ? objet.nom.toString() : objet.nomInternet.toString();
}

} // namespace Publication
