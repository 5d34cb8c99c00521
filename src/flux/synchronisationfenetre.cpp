#include "synchronisationfenetre.h"

#include "synchronisation.h"
#include "ui/fenetres.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

SynchronisationFenetre::SynchronisationFenetre(Contexte* contexte, QWidget* parent)
    : QDialog(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("SynchronisationFenetre"));
    setWindowTitle(QStringLiteral("Synchroniser les calendriers"));
    resize(620, 420);

    synchroniser = new QPushButton(QStringLiteral("Synchroniser"), this);
    synchroniser->setObjectName(QStringLiteral("synchroniser"));
    synchroniser->setAutoDefault(false);
    Fermer = new QPushButton(QStringLiteral("Fermer"), this);
    Fermer->setObjectName(QStringLiteral("Fermer"));
    Fermer->setAutoDefault(false);

    avancement = new QPlainTextEdit(this);
    avancement->setObjectName(QStringLiteral("avancement"));
    avancement->setReadOnly(true);
    avancement->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Plain text only: a portal's event names are shown, never interpreted.
    bilan = new QPlainTextEdit(this);
    bilan->setObjectName(QStringLiteral("bilan"));
    bilan->setReadOnly(true);

    auto* boutons = new QHBoxLayout;
    boutons->addWidget(synchroniser);
    boutons->addStretch();
    boutons->addWidget(Fermer);
    auto* colonne = new QVBoxLayout(this);
    colonne->addLayout(boutons);
    colonne->addWidget(new QLabel(QStringLiteral("Calendriers lus :"), this));
    colonne->addWidget(avancement, 1);
    colonne->addWidget(new QLabel(QStringLiteral("Bilan :"), this));
    colonne->addWidget(bilan, 1);

    connect(synchroniser, &QPushButton::clicked, this, &SynchronisationFenetre::synchroniser_Click);
    connect(Fermer, &QPushButton::clicked, this, &QDialog::accept);
    Fenetres::PlacerFenetre(this);
}

void SynchronisationFenetre::synchroniser_Click()
{
    avancement->clear();
    bilan->clear();
    synchroniser->setEnabled(false);
    Fermer->setEnabled(false);
    const QString ini = m_contexte->CheminINI;
    Synchronisation::Synchroniseur run(m_contexte->BaseOuverte, Synchronisation::HeureDebut(ini),
                                       Synchronisation::HeureFin(ini));
    run.fixerOptions(m_options);
    connect(&run, &Synchronisation::Synchroniseur::avancement, this, [this](const QString& ligne) {
        // A feed's outcome takes the place of the line announcing it.
        QTextCursor fin(avancement->document()->lastBlock());
        if (!ligne.endsWith(QStringLiteral(" ...")) && fin.block().text().endsWith(QStringLiteral(" ..."))) {
            fin.select(QTextCursor::BlockUnderCursor);
            fin.removeSelectedText();
        }
        avancement->appendPlainText(ligne);
    });
    QString erreur;
    const auto resultat = run.executer(&erreur);
    synchroniser->setEnabled(true);
    Fermer->setEnabled(true);
    // The state "Portail" may be new: the reservation window lists it.
    m_contexte->TableEtats = Contexte::ChargerEtats(m_contexte->BaseOuverte);
    if (!resultat) {
        bilan->setPlainText(QStringLiteral("La liste des calendriers ne peut pas être lue : %1").arg(erreur));
        return;
    }
    if (resultat->flux == 0) {
        bilan->setPlainText(QStringLiteral("Aucun calendrier externe : les adresses se donnent dans "
                                           "« Paramètres », onglet « Objets », colonne « Calendriers externes »."));
        return;
    }
    bilan->setPlainText(Synchronisation::Texte(*resultat).join(QLatin1Char('\n')));
    if (resultat->creees + resultat->deplacees + resultat->annulees > 0)
        emit reservationsChangees();
}
