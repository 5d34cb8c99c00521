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

} // namespace Langues
