// Time from launch to the calendar shown, on a fresh demo folder and on a
// second start of the same folder. Prints figures; asserts nothing.
#include "generateur.h"
#include "config/chemins.h"
#include "app/lanceur.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Generateur::mediane;

double unDemarrage(const QString& dossier)
{
    Chemins::fixerDossierProgramme(dossier);
    QElapsedTimer chrono;
    chrono.start();
    double ms = -1;
    {
        Lanceur lanceur;
        OptionsLancement options;
        options.demo = true;
        if (lanceur.demarrer(options)) {
            QApplication::processEvents();
            ms = double(chrono.nsecsElapsed()) / 1e6;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("BaseOuverte"));
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<double> premiers, suivants;
    for (int i = 0; i < 5; ++i) {
        QTemporaryDir dossier;
        premiers.push_back(unDemarrage(dossier.path()));
        suivants.push_back(unDemarrage(dossier.path()));
    }
    std::printf("demarrage, dossier neuf (base creee et remplie) : mediane %.1f ms sur 5\n", mediane(premiers));
    std::printf("demarrage suivant (sauvegarde de la base)       : mediane %.1f ms sur 5\n", mediane(suivants));
    return 0;
}
