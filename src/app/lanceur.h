#pragma once
// The program's start: the main frame, then the calendar, whose loading
// runs the start-up sequence (configuration, backups, splash, database,
// states, first drawing).
#include "store/contexte.h"

#include <QObject>
#include <QPointer>
#include <memory>

class ROOT;
class Form1;
class QMdiSubWindow;
class VeilleurBase;
class GardienBase;
class FenetreJournee;
class BoiteRecherche;

struct OptionsLancement {
    bool demo = false;   // fill a new, empty database with sample data
};

class Lanceur : public QObject
{
    Q_OBJECT
public:
    explicit Lanceur(QObject* parent = nullptr);
    ~Lanceur() override;

    // Runs the start-up. False when the database could not be opened: the
    // message has been shown and written to standard error.
    bool demarrer(const OptionsLancement& options);

    Contexte contexte;
    ROOT* fenetrePrincipale() const { return m_root.get(); }
    Form1* calendrier() const;

    // Shows the calendar again after its window was closed, and raises it.
    void montrerCalendrier();
    // Another desk changed the database: the windows that show it follow.
    void baseChangeeAilleurs();
    // The database file was replaced by a restored backup: every window
    // that shows it reads the new file.
    void baseRemplacee();
    VeilleurBase* veilleur() const { return m_veilleur; }
    // "Fenêtres" → "Journée": the day's lists, made on first use, brought forward.
    void montrerJournee();
    FenetreJournee* journee() const;
    // The search box of the frame's tool strip.
    BoiteRecherche* recherche() const { return m_recherche; }

    // The check and backup of the database, and its restoring.
    GardienBase* gardien() const { return m_gardien; }

    // An entry of the "&Outils" menu: 30 publication, 50 settings, 60 the day's cash report,
    // 70 the portals' calendars, 80 the figures.
    void menuoutil_Click(int index);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    std::unique_ptr<ROOT> m_root;
    // The calendar lives as long as the frame; closing its window hides it.
    QPointer<Form1> m_form1;
    QPointer<QMdiSubWindow> m_sousFenetre;
    GardienBase* m_gardien = nullptr;
    VeilleurBase* m_veilleur = nullptr;
    QPointer<FenetreJournee> m_journee;
    QPointer<QMdiSubWindow> m_sousFenetreJournee;
    BoiteRecherche* m_recherche = nullptr;

    void brancherRecherche();
    // Opens a reservation found elsewhere, as a click on its bar does.
    void ouvrirReservation(qint32 numero);
};
