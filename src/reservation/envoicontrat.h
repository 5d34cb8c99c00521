#pragma once
// Sending a reservation's contract: its PDF saved as
// Documents/contrat_<N>.pdf in the data folder, then printed (print dialog)
// or handed to the desktop's mail program. The sending is recorded only
// when the document really went: a cancelled print or a failed hand-off
// records nothing and says why.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace EnvoiContrat {

enum class Moyen { Imprimer, Email, Poste, Fax };

struct Resultat {
    bool envoye = false;
    QString message;   // what went wrong, in French (empty when sent)
};

// The ways out of the program, replaceable in the tests.
struct Sorties {
    // Prints an HTML document after the print dialog; false when cancelled.
    std::function<bool(const QString& html, const QString& titre)> imprimer;
    // Runs a program and waits; its exit status, or -1 when it could not start.
    std::function<int(const QString& programme, const QStringList& arguments)> lancer;
};
Sorties SortiesParDefaut(QWidget* parent);

// Makes the contract of reservation `numero` and sends it.
Resultat Envoyer(qint32 numero, Moyen moyen, const QString& email, const QString& html, const Sorties& sorties);

} // namespace EnvoiContrat
