// The selection box's choices: the categories offered, the units each shows.
#include "planning/selection.h"

#include <gtest/gtest.h>

namespace {

QList<Requetes::Objet> unites()
{
    const std::pair<qint32, const char*> lignes[] = {
        {1, "Chalet"}, {2, "chambre"}, {3, ""}, {4, "Emplacement"}, {5, "Chalet"}, {6, "Écurie"}, {7, " Chalet "}};
    QList<Requetes::Objet> liste;
    for (const auto& [numero, categorie] : lignes) {
        Requetes::Objet o;
        o.numero = numero;
        o.categorie = QString::fromUtf8(categorie);
        liste.append(o);
    }
    return liste;
}

QList<qint32> numerosDe(const QList<Requetes::Objet>& liste)
{
    QList<qint32> n;
    for (const Requetes::Objet& o : liste)
        n.append(o.numero);
    return n;
}

} // namespace

TEST(Selection, CategoriesOnceInFrenchOrder)
{
    // Case and accents sort as in French; no empty entry.
    EXPECT_EQ(Selection::categories(unites()),
              QStringList({QStringLiteral("Chalet"), QStringLiteral("chambre"), QString::fromUtf8("Écurie"),
                           QStringLiteral("Emplacement")}));
    EXPECT_TRUE(Selection::categories({}).isEmpty());
}

TEST(Selection, UnitsShownForEachChoice)
{
    struct Cas { const char* choix; QList<qint32> montres; bool tous; };
    const Cas cas[] = {
        {"Tous", {1, 2, 3, 4, 5, 6, 7}, true},
        {"tous", {1, 2, 3, 4, 5, 6, 7}, true},
        {"", {1, 2, 3, 4, 5, 6, 7}, true},
        {"Chalet", {1, 5, 7}, false},       // a category written with spaces around counts
        {" Chalet ", {1, 5, 7}, false},
        {"chambre", {2}, false},
        {"Chambre", {}, false},             // a category is written as the settings wrote it
        {"Grange", {}, false},
    };
    for (const Cas& c : cas) {
        const QString choix = QString::fromUtf8(c.choix);
        EXPECT_EQ(numerosDe(Selection::filtrer(unites(), choix)), c.montres) << c.choix;
        const auto numeros = Selection::numeros(unites(), choix);
        EXPECT_EQ(!numeros.has_value(), c.tous) << c.choix;
        if (numeros) {
            EXPECT_EQ(*numeros, QSet<qint32>(c.montres.cbegin(), c.montres.cend())) << c.choix;
        }
    }
}

TEST(Selection, AChoiceNoUnitCarriesComesBackToTous)
{
    const QStringList categories = Selection::categories(unites());
    struct Cas { const char* choix; const char* montre; };
    const Cas cas[] = {
        {"Chalet", "Chalet"}, {" Chalet", "Chalet"}, {"Grange", "Tous"}, {"", "Tous"}, {"TOUS", "Tous"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Selection::valable(QString::fromUtf8(c.choix), categories), QString::fromUtf8(c.montre)) << c.choix;
}
