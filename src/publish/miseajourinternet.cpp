#include "miseajourinternet.h"

#include "config/chemins.h"
#include "ui/fenetres.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

MiseAJourInternet::MiseAJourInternet(Contexte* contexte, QWidget* parent)
    : QDialog(parent), m_contexte(contexte), m_dossier(Chemins::dossierProgramme())
{
    setObjectName(QStringLiteral("MiseAJourInternet"));
    setWindowTitle(QStringLiteral("Mise A Jour Internet"));
    setFixedSize(Twips::enPixels(6135), Twips::enPixels(2625));

    GenerateurInternet = new QPushButton(QStringLiteral("Générateur Internet"), this);
    GenerateurInternet->setObjectName(QStringLiteral("GenerateurInternet"));
    GenerateurInternet->setGeometry(Twips::rect(120, 240, 1935, 495));
    GenerateurInternet->setAutoDefault(false);

    avancement = new QPlainTextEdit(this);
    avancement->setObjectName(QStringLiteral("avancement"));
    avancement->setGeometry(Twips::rect(120, 840, 5895, 1695));
    avancement->setReadOnly(true);
    QFont police = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    police.setPointSize(9);
    avancement->setFont(police);
    QPalette couleurs = avancement->palette();
    couleurs.setColor(QPalette::Base, Qt::black);
    couleurs.setColor(QPalette::Text, QColor(0, 255, 0));
    avancement->setPalette(couleurs);

    connect(GenerateurInternet, &QPushButton::clicked, this, &MiseAJourInternet::GenerateurInternet_Click);
}

void MiseAJourInternet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_place) {
        m_place = true;
        Fenetres::PlacerFenetre(this);
    }
}

void MiseAJourInternet::montrerAvancement(const QString& texte)
{
    avancement->setPlainText(texte);
    avancement->repaint();
    // The window stays responsive between units.
    QApplication::processEvents();
}

void MiseAJourInternet::GenerateurInternet_Click()
{
    if (m_enCours || !m_contexte)
        return;
    m_enCours = true;
    GenerateurInternet->setEnabled(false);

    Publication::MiseAJourPages run(m_contexte->BaseOuverte, m_dossier);
    connect(&run, &Publication::MiseAJourPages::avancement, this, [this, &run](const QString& texte) {
        avancement->setProperty("tag", run.journal().tag());
        montrerAvancement(texte);
    });
    const Publication::Issue issue = run.executer();

    m_enCours = false;
    GenerateurInternet->setEnabled(true);
    emit publicationTerminee(issue);
    // Every page written: the window closes while the script sends them.
    // Otherwise it stays open on the log that says why.
    if (issue == Publication::Issue::Envoyee || issue == Publication::Issue::SansScript)
        accept();
}

void MiseAJourInternet::reject()
{
    // A run cannot be interrupted from the window.
    if (!m_enCours)
        QDialog::reject();
}

void MiseAJourInternet::closeEvent(QCloseEvent* event)
{
    if (m_enCours) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
