#include "store/base.h"
#include "store/veilleurbase.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(VeilleurBase, OnlyAnotherDesksCommitsAreNews)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("partagee.db"));
    const auto ici = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("ici"));
    const auto ailleurs = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("ailleurs"));
    ASSERT_TRUE(ici && ailleurs);
    {
        VeilleurBase veilleur(*ici, nullptr, 60000);
        QSignalSpy nouvelles(&veilleur, &VeilleurBase::baseChangee);
        struct Etape { const char* nom; std::optional<QSqlDatabase> base; bool nouvelle; };
        const Etape etapes[] = {
            {"nothing happened", std::nullopt, false},
            {"this desk wrote", ici, false},
            {"another desk wrote", ailleurs, true},
            {"looked again without change", std::nullopt, false},
            {"another desk wrote again", ailleurs, true},
        };
        int n = 0;
        for (const Etape& e : etapes) {
            if (e.base)
                ASSERT_TRUE(QSqlQuery(*e.base).exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'x')").arg(++n)));
            EXPECT_EQ(veilleur.verifier(), e.nouvelle) << e.nom;
        }
        EXPECT_EQ(nouvelles.size(), 2);
    }
    for (const char* c : {"ici", "ailleurs"}) {
        QSqlDatabase::database(QLatin1String(c)).close();
        QSqlDatabase::removeDatabase(QLatin1String(c));
    }
}
