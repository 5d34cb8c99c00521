// planning [--dossier DIR] [--demo] [--publier] [--caisse AAAA-MM-JJ] [--restaurer N] [--synchroniser]
//          [--statistiques AAAA-MM-JJ AAAA-MM-JJ [--csv FILE]] [--copier-vers FILE|ADDRESS]
#include "config/chemins.h"
#include "app/lanceur.h"
#include "app/publicationconsole.h"
#include "app/caisseconsole.h"
#include "app/restaurationconsole.h"
#include "app/synchronisationconsole.h"
#include "app/statistiquesconsole.h"
#include "app/copieconsole.h"

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

// The publication, cash report and restore runs need no display (a nightly job has
// none), so the kind of application is chosen before Qt reads the command
// line.
bool demande(int argc, char** argv, const char* option)
{
    const std::size_t n = std::strlen(option);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0 || (std::strncmp(argv[i], option, n) == 0 && argv[i][n] == '='))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const bool publier = demande(argc, argv, "--publier");
    const bool caisse = demande(argc, argv, "--caisse");
    const bool synchroniser = demande(argc, argv, "--synchroniser");
    const bool statistiques = demande(argc, argv, "--statistiques");
    const bool copie = demande(argc, argv, "--copier-vers");
    const bool sansFenetre = publier || caisse || synchroniser || statistiques || copie
        || demande(argc, argv, "--restaurer");
    // Asking for the help (-h, --help) or the version (-v, --version) needs
    // no display either.
    const bool renseignement = demande(argc, argv, "--help") || demande(argc, argv, "-h")
        || demande(argc, argv, "--version") || demande(argc, argv, "-v");
    std::unique_ptr<QCoreApplication> app = (sansFenetre || renseignement) ? std::make_unique<QCoreApplication>(argc, argv)
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
    // Help and version in French, rather than Qt's English descriptions.
    const QCommandLineOption aide(QStringList{QStringLiteral("h"), QStringLiteral("help")},
        QStringLiteral("Affiche cette aide et se termine."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Affiche le nom et la version du programme et se termine."));
    parser.addOption(aide);
    parser.addOption(version);
    const QCommandLineOption dossier(QStringList{QStringLiteral("dossier")},
        QStringLiteral("Dossier des données (configuration, base, sauvegardes, pages)."), QStringLiteral("DIR"));
    const QCommandLineOption demo(QStringList{QStringLiteral("demo")},
        QStringLiteral("Remplit une base neuve avec des données d'exemple."));
    const QCommandLineOption publication(QStringList{QStringLiteral("publier")},
        QStringLiteral("Écrit les pages de disponibilité, lance lanceftp.sh et se termine, sans fenêtre."));
    const QCommandLineOption restauration(QStringList{QStringLiteral("restaurer")},
        QString::fromUtf8("Remplace la base par la sauvegarde N (la base actuelle est gardée), sans fenêtre."),
        QStringLiteral("N"));
    parser.addOption(dossier);
    parser.addOption(demo);
    parser.addOption(publication);
    parser.addOption(restauration);
    const QCommandLineOption rapportCaisse(QStringList{QStringLiteral("caisse")},
        QStringLiteral("Écrit la caisse du jour donné sur la sortie standard et se termine, sans fenêtre."),
        QStringLiteral("AAAA-MM-JJ"));
    parser.addOption(rapportCaisse);
    const QCommandLineOption synchronisation(QStringList{QStringLiteral("synchroniser")},
        QStringLiteral("Lit les calendriers des portails dans les réservations et se termine, sans fenêtre."));
    parser.addOption(synchronisation);
    const QCommandLineOption chiffres(QStringList{QStringLiteral("statistiques")},
        QStringLiteral("Écrit les chiffres de la période (début AAAA-MM-JJ, fin AAAA-MM-JJ en argument suivant) et se termine, sans fenêtre."),
        QStringLiteral("AAAA-MM-JJ"));
    const QCommandLineOption fichierCsv(QStringList{QStringLiteral("csv")},
        QStringLiteral("Avec --statistiques : écrit les tableaux dans ce fichier CSV au lieu de les afficher."),
        QStringLiteral("FICHIER"));
    parser.addOption(chiffres);
    parser.addOption(fichierCsv);
    const QCommandLineOption copieVers(QStringList{QStringLiteral("copier-vers")},
        QString::fromUtf8("Copie toute la base dans une base vide (fichier SQLite ou adresse postgresql://) "
                          "et se termine, sans fenêtre."),
        QStringLiteral("CIBLE"));
    parser.addOption(copieVers);
    if (statistiques && !parser.parse(app->arguments())) {
        QTextStream(stderr) << parser.errorText() << "\nUsage : --statistiques AAAA-MM-JJ AAAA-MM-JJ [--csv FICHIER]\n";
        return StatistiquesConsole::SortiePeriode;
    }
    // A report asked without a readable day is a bad date (status 2), not
    // the general command-line failure.
    if (caisse && !parser.parse(app->arguments())) {
        QTextStream(stderr) << parser.errorText() << "\nLa date s'écrit AAAA-MM-JJ, par exemple 2026-12-09.\n";
        return CaisseConsole::SortieDate;
    }
    parser.process(*app);
    if (parser.isSet(aide)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        QTextStream(stdout) << "Orvane Planning " << PLANNING_VERSION << '\n';
        return 0;
    }

    if (parser.isSet(dossier))
        Chemins::fixerDossierProgramme(parser.value(dossier));

    // The runs without window write to the standard streams.
    QTextStream sortie(stdout);
    QTextStream erreurs(stderr);
    if (parser.isSet(restauration))
        return Restauration::RestaurerSansFenetre(parser.value(restauration), sortie, erreurs);
    if (parser.isSet(copieVers))
        return CopieConsole::Copier(parser.value(copieVers), sortie, erreurs);
    if (publier)
        return Publication::PublierSansFenetre(parser.isSet(demo), sortie, erreurs);
    if (synchroniser)
        return SynchronisationConsole::Synchroniser(sortie, erreurs);
    if (caisse)
        return CaisseConsole::ImprimerCaisse(parser.value(rapportCaisse), sortie, erreurs);
    if (statistiques) {
        const QStringList suite = parser.positionalArguments();
        if (suite.size() != 1) {
            erreurs << "Usage : --statistiques AAAA-MM-JJ AAAA-MM-JJ [--csv FICHIER] (la date de fin manque ou est en trop).\n";
            return StatistiquesConsole::SortiePeriode;
        }
        return StatistiquesConsole::Executer(parser.value(chiffres), suite.first(), parser.value(fichierCsv), sortie,
                                             erreurs);
    }

    OptionsLancement options;
    options.demo = parser.isSet(demo);
    Lanceur lanceur;
    if (!lanceur.demarrer(options))
        return 1;
    return app->exec();
}
