#pragma once
// The main frame: the multiple-document window that holds the calendar,
// with the menus "&Fichier", "&Outils" and "Fenêtres".
#include <QMainWindow>
#include <QMap>

class QAction;
class QMdiArea;
class QMenu;
class SavePosition;

class ROOT : public QMainWindow
{
    Q_OBJECT
public:
    explicit ROOT(QWidget* parent = nullptr);

    static QString Titre();   // "Orvane Planning" + version

    QMdiArea* zone;
    QWidget* Picture1;
    QMenu* menufichiers;
    QMenu* menuoutils;
    QMenu* menufenetres;
    QMap<int, QAction*> menufichier;   // 20: "&Restaurer une sauvegarde…", 30: "&Quitter"
    QMap<int, QAction*> menuoutil;     // 30: "&Mise à jour Internet", 50: "&Paramètres", 60: "&Caisse du jour",
                                       // 70: "&Synchroniser les calendriers", 80: "&Statistiques"
    QAction* menucalendrier;           // "Fenêtres" → "Calendrier"
    QAction* menujournee;              // "Fenêtres" → "Journée" (Ctrl+J)
    QAction* chercher;                 // Ctrl+F: to the tool strip's search box
    QAction* annulations;              // "Fenêtres" → "Afficher les annulations" (ticked: hatched in the calendar)
    SavePosition* SavePosition1;       // keeps the frame's place in "daduvuvav.ini", section "root"

protected:
    // Closing the frame ends the program, even while a reservation, the bar
    // or the payment dialog (windows of their own) is open.
    void closeEvent(QCloseEvent* event) override;

Q_SIGNALS:
    // An entry of the "&Fichier" menu that the frame does not handle itself.
    void menufichier_Click(int index);
    // An entry of the "&Outils" menu was chosen (its index).
    void menuoutil_Click(int index);
    // "Fenêtres" → "Calendrier": show the calendar again.
    void menucalendrier_Click();
    // "Fenêtres" → "Journée": show the day's lists.
    void menujournee_Click();
    // Ctrl+F: the search box takes the keyboard.
    void chercher_Click();
    void afficherAnnulations(bool oui);
};
