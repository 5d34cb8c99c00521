#include "langues.h"

#include "ini32.h"

namespace Langues {

namespace {
QString g_langue;
QString g_fichier;
}

void fixerFichier(const QString& cheminINI)
{
    g_fichier = cheminINI;
}

QString langueCourante()
{
    return g_langue;
}

QString Traduire(const QString& texte)
{
    if (g_langue.isEmpty())
        g_langue = QStringLiteral("Francais");
    return INI32::ProfilINI(g_langue, texte, texte, g_fichier, 2);
}

QString Traduire(const QString& cle, const QString& texte)
{
    if (g_langue.isEmpty())
        g_langue = QStringLiteral("Francais");
    // A file that wrote the key as its own translation has none.
    const QString traduit = INI32::ProfilINI(g_langue, cle, texte, g_fichier, 2);
    return traduit == cle ? texte : traduit;
}

} // namespace Langues
