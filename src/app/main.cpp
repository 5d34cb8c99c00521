// planning [--dossier DIR] [--demo] [--publier]
#include "config/chemins.h"
#include "app/lanceur.h"
#include "app/publicationconsole.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The publication run needs no display (a nightly job has none), so the
// kind of application is chosen before Qt reads the command line.
bool demandePublication(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--publier") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const bool publier = demandePublication(argc, argv);
    std::unique_ptr<QCoreApplication> app = publier ? std::make_unique<QCoreApplication>(argc, argv)
                                                    : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("planning"));
    // The program works with French conventions whatever the system's.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Qt's own dialogs (colours, message box buttons) speak French too.
    QTranslator traductionQt;
    if (traductionQt.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traductionQt);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Planning et accueil d'un hôtel ou d'un camping"));
    parser.addHelpOption();
    const QCommandLineOption dossier(QStringList{QStringLiteral("dossier")},
        QStringLiteral("Dossier des données (configuration, base, sauvegardes, pages)."), QStringLiteral("DIR"));
    const QCommandLineOption demo(QStringList{QStringLiteral("demo")},
        QStringLiteral("Remplit une base neuve avec des données d'exemple."));
    const QCommandLineOption publication(QStringList{QStringLiteral("publier")},
        QStringLiteral("Écrit les pages de disponibilité, lance lanceftp.sh et se termine, sans fenêtre."));
    parser.addOption(dossier);
    parser.addOption(demo);
    parser.addOption(publication);
    parser.process(*app);

    if (parser.isSet(dossier))
        Chemins::fixerDossierProgramme(parser.value(dossier));

    if (publier) {
        QTextStream sortie(stdout);
        QTextStream erreurs(stderr);
        return Publication::PublierSansFenetre(parser.isSet(demo), sortie, erreurs);
    }

    OptionsLancement options;
    options.demo = parser.isSet(demo);
    Lanceur lanceur;
    if (!lanceur.demarrer(options))
        return 1;
    return app->exec();
}
