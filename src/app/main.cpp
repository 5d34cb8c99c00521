// planning [--dossier DIR] [--demo]
#include "app/chemins.h"
#include "app/lanceur.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("planning"));
    // The program works with French conventions whatever the system's.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Planning et accueil d'un hôtel ou d'un camping"));
    parser.addHelpOption();
    const QCommandLineOption dossier(QStringList{QStringLiteral("dossier")},
        QStringLiteral("Dossier des données (configuration, base, sauvegardes, pages)."), QStringLiteral("DIR"));
    const QCommandLineOption demo(QStringList{QStringLiteral("demo")},
        QStringLiteral("Remplit une base neuve avec des données d'exemple."));
    parser.addOption(dossier);
    parser.addOption(demo);
    parser.process(app);

    if (parser.isSet(dossier))
        Chemins::fixerDossierProgramme(parser.value(dossier));

    OptionsLancement options;
    options.demo = parser.isSet(demo);
    Lanceur lanceur;
    if (!lanceur.demarrer(options))
        return 1;
    return app.exec();
}
