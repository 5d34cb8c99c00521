#include "envoicontrat.h"

#include "config/chemins.h"
#include "facturation/comptesejour.h"
#include "facturation/documents.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>

namespace EnvoiContrat {

Sorties SortiesParDefaut(QWidget* parent)
{
    Sorties s;
    s.imprimer = [parent](const QString& html, const QString& titre) {
        QPrinter imprimante(QPrinter::HighResolution);
        imprimante.setDocName(titre);
        QPrintDialog dialogue(&imprimante, parent);
        dialogue.setWindowTitle(titre);
        if (dialogue.exec() != QDialog::Accepted)
            return false;
        QTextDocument document;
        document.setHtml(html);
        document.print(&imprimante);
        return imprimante.printerState() != QPrinter::Error;
    };
    s.lancer = [](const QString& programme, const QStringList& arguments) {
        QProcess p;
        p.start(programme, arguments);
        if (!p.waitForStarted(5000))
            return -1;
        if (!p.waitForFinished(60000)) {
            p.kill();
            return -1;
        }
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    return s;
}

Resultat Envoyer(qint32 numero, Moyen moyen, const QString& email, const QString& html, const Sorties& sorties)
{
    Resultat r;
    const QString titre = QStringLiteral("Contrat de réservation ") + QString::number(numero);
    const QByteArray pdf = Documents::Pdf(html, titre);
    const QString chemin = Chemins::dansDossier(QStringLiteral("Documents/contrat_") + QString::number(numero) + QStringLiteral(".pdf"));
    QString erreur;
    if (pdf.isEmpty() || !CompteSejour::EcrireFichier(chemin, pdf, &erreur)) {
        r.message = QStringLiteral("Le contrat n'a pas pu être enregistré : ") + (erreur.isEmpty() ? chemin : erreur);
        return r;
    }
    if (moyen != Moyen::Email) {
        if (!sorties.imprimer(html, titre)) {
            r.message = QStringLiteral("Impression annulée : l'envoi du contrat n'est pas noté. Le contrat est enregistré dans ") + chemin;
            return r;
        }
        r.envoye = true;
        return r;
    }
    if (email.trimmed().isEmpty()) {
        r.message = QStringLiteral("Cette réservation n'a pas d'adresse e-mail : le contrat est enregistré dans ") + chemin
            + QStringLiteral(", rien n'est envoyé.");
        return r;
    }
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (programme.isEmpty()) {
        r.message = QStringLiteral("Le programme xdg-email (paquet xdg-utils) est absent : le contrat est enregistré dans ")
            + chemin + QStringLiteral(", rien n'est envoyé.");
        return r;
    }
    const int statut = sorties.lancer(programme, {QStringLiteral("--attach"), chemin, QStringLiteral("--subject"), titre,
                                                  email.trimmed()});
    if (statut != 0) {
        r.message = QStringLiteral("Le programme de messagerie n'a pas pris le contrat (xdg-email : code ")
            + QString::number(statut) + QStringLiteral(") : rien n'est envoyé.");
        return r;
    }
    r.envoye = true;
    return r;
}

} // namespace EnvoiContrat
