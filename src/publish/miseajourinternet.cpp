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
    setWindowTitle(QStringLiteral("Mise à jour Internet"));
    // Below the log, room for the outcome of the run.
    setFixedSize(Twips::enPixels(6135), Twips::enPixels(3630));

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

    Fermer = new QPushButton(QStringLiteral("Fermer"), this);
    Fermer->setObjectName(QStringLiteral("Fermer"));
    Fermer->setGeometry(Twips::rect(4080, 240, 1935, 495));
    Fermer->setAutoDefault(false);

    // Plain text that reads like a label but wraps anywhere, so that a long
    // folder or unit name is shown whole (and can be copied).
    bilan = new QPlainTextEdit(this);
    bilan->setObjectName(QStringLiteral("bilan"));
    bilan->setGeometry(Twips::rect(120, 2625, 5895, 900));
    bilan->setReadOnly(true);
    bilan->setFrameShape(QFrame::NoFrame);
    bilan->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    bilan->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bilan->document()->setDocumentMargin(0);
    QPalette fond = bilan->palette();
    fond.setColor(QPalette::Base, palette().color(QPalette::Window));
    bilan->setPalette(fond);
    m_couleurTexte = fond.color(QPalette::Text);

    connect(Fermer, &QPushButton::clicked, this, &MiseAJourInternet::accept);
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
    Fermer->setEnabled(false);
    bilan->clear();

    Publication::MiseAJourPages run(m_contexte->BaseOuverte, m_dossier);
    connect(&run, &Publication::MiseAJourPages::avancement, this, [this, &run](const QString& texte) {
        avancement->setProperty("tag", run.journal().tag());
        montrerAvancement(texte);
    });
    const Publication::Issue issue = run.executer();

    m_enCours = false;
    GenerateurInternet->setEnabled(true);
    Fermer->setEnabled(true);
    // The window stays open on the outcome: the user sees where the pages
    // went and whether they were sent before closing it.
    montrerBilan(issue, run.bilan(issue));
    emit publicationTerminee(issue);
}

void MiseAJourInternet::montrerBilan(Publication::Issue issue, const QStringList& lignes)
{
    const bool reussie = issue == Publication::Issue::Envoyee || issue == Publication::Issue::SansScript;
    QPalette couleurs = bilan->palette();
    couleurs.setColor(QPalette::Text, reussie ? m_couleurTexte : QColor(192, 0, 0));
    bilan->setPalette(couleurs);
    bilan->setPlainText(lignes.join(QLatin1Char('\n')));
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
