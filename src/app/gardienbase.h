#pragma once
// Keeps watch over the database file of a running program: after the first
// drawing, a worker thread checks the database and writes the start's
// backup snapshot; a damaged database asks whether to restore the newest
// sound backup or to go on read-only; a file held by another desk is
// neither (a line on standard error). Also restores a backup chosen in the
// "Fichier" menu. The windows redraw on baseRemplacee().
#include "sauvegardes.h"
#include "store/contexte.h"

#include <QObject>
#include <QPointer>

class QThread;
class QWidget;

class GardienBase : public QObject
{
    Q_OBJECT
public:
    // `fenetre` parents the questions and the restore window.
    GardienBase(Contexte* contexte, const QString& cheminBase, QWidget* fenetre, QObject* parent = nullptr);
    ~GardienBase() override;

    // Starts the check and the snapshot of the slot in the background.
    void lancer(int slot);
    // Waits for the background work and handles its result now (tests,
    // benchmarks). False when nothing was started.
    bool attendre();
    const Sauvegardes::Bilan& bilan() const { return m_bilan; }

    // True while the program runs read-only on a damaged database.
    bool endommagee() const { return m_endommagee; }

    // Closes the connection, restores that backup file, reopens the
    // database and tells every window. False (and the reason) on failure:
    // the connection is then reopened on the file as it was.
    bool restaurer(const QString& sauvegarde, QString* message);

    // "Fichier" -> "Restaurer une sauvegarde…".
    void ouvrirFenetreRestauration();

    static QString QuestionEndommagee(const QString& premiereLigne);
    // What standard error says when another desk held the file through the
    // whole wait: the check waits for the next start.
    static QString LigneControleReporte();

Q_SIGNALS:
    void baseRemplacee();                  // every window rereads the database
    void etatChange(bool endommagee);      // the calendar's caption
    void controleTermine();

private:
    void traiter();
    void passerEnLectureSeule();

    Contexte* m_contexte;
    QString m_cheminBase;
    QPointer<QWidget> m_fenetre;
    QThread* m_travail = nullptr;
    bool m_traite = true;
    bool m_endommagee = false;
    Sauvegardes::Bilan m_bilan;
};
