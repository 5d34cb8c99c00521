#include "gardienbase.h"

#include "demarrage.h"
#include "restauration.h"
#include "root.h"
#include "config/langues.h"
#include "sauvegardeserveur.h"
#include "store/base.h"
#include "store/dialecte.h"
#include "store/numeros.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

GardienBase::GardienBase(Contexte* contexte, const QString& cheminBase, QWidget* fenetre, QObject* parent)
    : QObject(parent)
    , m_contexte(contexte)
    , m_cheminBase(cheminBase)
    , m_fenetre(fenetre)
{
}

GardienBase::~GardienBase()
{
    if (m_travail) {
        m_travail->wait();
        delete m_travail;
    }
}

QString GardienBase::QuestionEndommagee(const QString& premiereLigne)
{
    return Langues::Traduire(QString::fromUtf8("La base de données est endommagée : ")) + premiereLigne
         + Langues::Traduire(QString::fromUtf8(". Restaurer la dernière sauvegarde saine ?"));
}

QString GardienBase::LigneControleReporte()
{
    return QString::fromUtf8("Contrôle de la base reporté : base occupée par un autre poste");
}

void GardienBase::lancer(int slot)
{
    // A server's database is written by pg_dump in the same background step.
    if (!CopieBase::estSQLite(m_contexte->BaseOuverte) && !Dialecte::estPostgres(m_contexte->BaseOuverte)) {
        std::fprintf(stderr, "Sauvegarde de la base sans objet : moteur inconnu (%s)\n",
                     qPrintable(m_contexte->BaseOuverte.driverName()));
        return;
    }
    if (m_travail)
        return;
    const QString chemin = m_cheminBase;
    m_traite = false;
    m_travail = QThread::create([this, chemin, slot] { m_bilan = Sauvegardes::ControlerEtCopier(chemin, slot); });
    connect(m_travail, &QThread::finished, this, &GardienBase::traiter, Qt::QueuedConnection);
    m_travail->start();
}

bool GardienBase::attendre()
{
    if (!m_travail)
        return false;
    m_travail->wait();
    traiter();
    return true;
}

void GardienBase::traiter()
{
    if (m_traite)
        return;
    m_traite = true;
    switch (m_bilan.issue) {
    case Sauvegardes::Bilan::Copiee:
        break;
    case Sauvegardes::Bilan::EchecCopie:
    case Sauvegardes::Bilan::Illisible:
        // As the copies of the start always were: no window, a line in the log.
        std::fprintf(stderr, "Sauvegarde de la base impossible : %s\n", qPrintable(m_bilan.detail));
        break;
    case Sauvegardes::Bilan::Occupee:
        // Another desk writes: the file is not known damaged, nothing is asked.
        std::fprintf(stderr, "%s\n", qPrintable(LigneControleReporte()));
        break;
    case Sauvegardes::Bilan::Endommagee: {
        std::fprintf(stderr, "Base endommagée : %s\n", qPrintable(m_bilan.detail));
        if (!DemanderOuiNon(m_fenetre, QuestionEndommagee(m_bilan.detail), true)) {
            passerEnLectureSeule();
            break;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto saine = Sauvegardes::DerniereSaine(m_cheminBase);
        QString message;
        const bool restauree = saine && restaurer(saine->chemin, &message);
        QApplication::restoreOverrideCursor();
        if (!restauree) {
            if (!saine)
                message = QString::fromUtf8("Aucune sauvegarde saine n'a été trouvée dans ") + Sauvegardes::Dossier();
            QMessageBox::warning(m_fenetre, ROOT::Titre(),
                                 message + QString::fromUtf8(".\nLa base reste ouverte en lecture seule."),
                                 QMessageBox::Ok);
            passerEnLectureSeule();
        }
        break;
    }
    }
    Q_EMIT controleTermine();
}

void GardienBase::passerEnLectureSeule()
{
    Base::lectureSeule(m_contexte->BaseOuverte, true);
    m_endommagee = true;
    Q_EMIT etatChange(true);
}

bool GardienBase::restaurer(const QString& sauvegarde, QString* message)
{
    // The background check reads the same file: it ends first.
    if (m_travail)
        m_travail->wait();
    // The windows of a reservation, the bar or a payment show rows of the
    // file about to go: they close before it is replaced.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != m_fenetre && !w->isModal() && !qobject_cast<QMenu*>(w) && w->isWindow())
            w->close();

    // No statement stays open: closing the connection finalises them all.
    m_contexte->BaseOuverte.close();
    const Sauvegardes::Restauration r = Sauvegardes::Restaurer(m_cheminBase, sauvegarde);
    QString raison;
    const bool rouverte = Base::rouvrir(m_contexte->BaseOuverte, &raison);
    if (r.reussie && rouverte) {
        m_endommagee = false;
        m_contexte->TableEtats = Contexte::ChargerEtats(m_contexte->BaseOuverte);
        *message = QString::fromUtf8("Sauvegarde restaurée : %1.\nLa base précédente est gardée sous %2.")
                       .arg(QFileInfo(sauvegarde).fileName(), QFileInfo(r.gardee).fileName());
        if (r.numerosGardes > 0)
            *message += QLatin1Char('\n') + Sauvegardes::MessageNumerosGardes(r.numerosGardes);
        std::fprintf(stderr, "%s\n", qPrintable(*message));
        Q_EMIT etatChange(false);
        Q_EMIT baseRemplacee();
        return true;
    }
    *message = r.reussie ? QString::fromUtf8("La base restaurée ne s'ouvre pas : ") + raison
                         : QString::fromUtf8("Restauration impossible : ") + r.erreur;
    if (m_endommagee)
        Base::lectureSeule(m_contexte->BaseOuverte, true);
    return false;
}

void GardienBase::ouvrirFenetreRestauration()
{
    // A server's database is not replaced under the other desks: the user
    // is told how to restore it with pg_restore.
    if (Dialecte::estAdresse(m_cheminBase)) {
        const QList<Sauvegardes::Creneau> creneaux = Sauvegardes::Lister(m_cheminBase);
        const QString fichier = creneaux.isEmpty()
            ? Sauvegardes::Dossier() + QLatin1Char('/') + Demarrage::NomSauvegardeBase(Sauvegardes::NomCreneaux(m_cheminBase), 0)
            : creneaux.first().chemin;
        QMessageBox boite(QMessageBox::Information, ROOT::Titre(),
                          SauvegardeServeur::MessageRestauration(
                              m_cheminBase, fichier, Numeros::plusGrandUtilise(m_contexte->BaseOuverte).value_or(0)),
                          QMessageBox::Ok, m_fenetre);
        // Wide enough for the command line to read whole, and selectable to be copied.
        boite.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: 52em; }"));
        boite.setTextInteractionFlags(Qt::TextSelectableByMouse);
        boite.exec();
        return;
    }
    RestaurationSauvegarde fenetre(m_cheminBase, m_fenetre);
    connect(&fenetre, &RestaurationSauvegarde::restaurationDemandee, this, [this, &fenetre](const QString& chemin) {
        QString message;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool ok = restaurer(chemin, &message);
        QApplication::restoreOverrideCursor();
        fenetre.termine(ok, message);
    });
    fenetre.exec();
}
